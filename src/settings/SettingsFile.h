// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileSystem.h"
#include "settings/Settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace orv {

// The settings file's single line, CR LF included. Other programs read it: the bytes must
// not change. The name goes in Windows-1252 when it fits, so the Windows program sharing
// the file still reads it, else in UTF-8.
QByteArray formatSettings(const Settings &settings);

struct ParsedSettings {
    Settings settings;
    bool damaged = false; // at least one field took its default, or items were missing or extra
};

// Never fails: every unusable field (missing, not a number, out of range, name empty or
// holding a control character) takes its default and the others keep what was read.
// Items are separated by commas or line ends, quoted text may hold commas, and the last
// complete group of five items wins. A name is UTF-8 when its bytes are, else Windows-1252.
ParsedSettings parseSettings(QByteArrayView bytes);

// Where saves go: beside the executable (portable layout) when that folder can be written
// or the file there can; otherwise, and always for an installed copy (under /usr/, or with
// ../share/applications/orvalin.desktop beside the executable), the user's folder.
QString resolveSettingsPath(const QString &executableDir, const QString &userConfigDir);

class SettingsFile {
public:
    // path: where saves go (resolveSettingsPath). fallbackPath: the user's file, taken when
    // path can be written neither through a new file nor in place. startFromPath: a file to
    // load while path holds none yet, such as the portable file of a folder that cannot be
    // written; empty for none.
    SettingsFile(FileSystem &fs, QString path, QString fallbackPath, QString startFromPath = {});

    enum class Status {
        Missing, // no file: defaults, and the caller saves them to create it
        Clean,
        Damaged,    // defaults for what was unusable; the file is left as it is
        Unreadable, // this user may not read it: never replaced; the fallback file is
                    // read when it holds settings, and saves go there
    };
    struct Loaded {
        Status status = Status::Missing;
        Settings settings;
        QString from;   // the file read
        QString notice; // what the start tells the user, in French, lower case; or empty
    };
    // Never blocks: a pipe, a device or a folder in place of the file reads as damaged.
    // Removes what a killed save left beside the file.
    Loaded load() const;

    struct Saved {
        bool ok = true;
        QString message; // when !ok: for the user, in French, where and why
    };
    // On failure the file on disk keeps its old bytes. A file this user may not read is
    // never replaced: the save goes to the fallback, as for a folder that refuses writing.
    Saved save(const Settings &settings);

    // Where the next save goes; the fallback once a save had to move there.
    const QString &path() const { return m_path; }

private:
    Loaded read(const QString &from) const;
    void removeLeftovers() const;

    FileSystem &m_fs;
    QString m_path;
    QString m_fallbackPath;
    QString m_startFromPath;
};

} // namespace orv
