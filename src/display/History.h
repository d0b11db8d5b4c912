#pragma once

#include "core/SampleStore.h"

#include <QString>

class QTextDocument;

namespace orv {

// One history line without its line end: " 007 -- 128 --- 12-05-2026 -- 14:03:13".
// A value that was not measured shows three blanks, so columns stay aligned.
QString historyLine(const Sample &s);

// The whole list text for slots count..0, each line ended by CR LF.
QString historyText(const SampleStore &store);

// Keeps a text document showing the history list, newest first. After every sample the
// document equals the full rebuild, but an ordinary update only adds the new top line,
// so its cost does not grow with the number of samples.
class HistoryList {
public:
    explicit HistoryList(QTextDocument *document);

    void clear();                          // empty text, as at the start of a recording
    void update(const SampleStore &store); // show slots count..0

    // The list text as the user sees it, with CR LF line ends.
    QString text() const;

private:
    void rebuild(const SampleStore &store);

    QTextDocument *m_doc;
    int m_shownCount = -1; // count the document shows, -1 when empty
};

} // namespace orv
