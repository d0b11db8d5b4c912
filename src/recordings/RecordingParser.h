// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordings/SampleTable.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

namespace orv {

// What a reader should be told about the lines that gave no sample.
struct ReadNotes {
    static constexpr int kLinesNamed = 10;
    qint64 lines = 0;                   // complete lines seen
    qint64 notSamples = 0;              // lines that are neither a sample, the header nor blank
    std::vector<qint64> notSampleLines; // the first kLinesNamed of them
    qint64 cutLine = 0;                 // the last line, unfinished (a power cut), or 0
    bool headerSeen = false;
    friend bool operator==(const ReadNotes &, const ReadNotes &) = default;
};

// The French sentences for the notes, or an empty text when there is nothing to say.
QString describeNotes(const ReadNotes &notes);

// Turns the bytes of a recording file into samples, in as many pieces as they come (the
// file is read in chunks, then followed as it grows). Accepts the program's own lines
// (Windows-1252 header, CR LF) and what editors and spreadsheets make of them: UTF-8 with or
// without a byte order mark, LF line ends, blanks around fields, empty trailing fields.
class RecordingParser {
public:
    // Longest line taken as a possible sample; a longer one is not a sample.
    static constexpr qsizetype kMaxLine = 256;

    // Reads the complete lines of bytes into table and returns how many bytes they took.
    // The rest, an unfinished last line, waits for more bytes; when the file ends there,
    // finish() decides about it.
    qsizetype feed(QByteArrayView bytes, SampleTable &table);
    // The file ends after tail, the bytes feed() left: a tail that is a whole sample without
    // its line end (an editor dropped it) is taken, and its length returned; any other is
    // noted as cut and left (0 returned), so it is read again if the file grows.
    qsizetype finish(QByteArrayView tail, SampleTable &table);

    const ReadNotes &notes() const { return m_notes; }

private:
    void takeLine(QByteArrayView line, SampleTable &table);

    ReadNotes m_notes;
    qint64 m_lastNumber = 0;
    bool m_lineEndOwed = false; // a finished tail was taken; its line end may follow
    bool m_inLongLine = false;  // inside a line past kMaxLine, until its end
};

} // namespace orv
