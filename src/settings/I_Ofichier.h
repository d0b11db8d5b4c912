#pragma once

#include "core/ProgramState.h"

#include <QByteArray>
#include <QString>

namespace orv {

// Default settings of a first start.
SettingsRecord defaultSettings();

// The settings file's single line, CR LF included, in the system's 8-bit encoding.
QByteArray formatConfig(const SettingsRecord &record);

// Reads settings text into the record. Items are separated by commas or line ends,
// leading spaces are skipped, quoted text may hold commas, and the last complete group
// of five items wins. A missing or unusable field takes its default; the others keep
// what was read. Returns false when at least one field had to fall back.
bool parseConfig(const QByteArray &bytes, SettingsRecord &record);

// Where the settings file lives: beside the executable when that folder can be
// written (portable layout), else in the user's configuration folder; always there
// for an installed copy (an executable under /usr, or beside ../share/applications/
// orvalin.desktop).
QString resolveConfigPath(const QString &executableDir, const QString &userConfigDir);

// Module of the settings file.
class I_Ofichier {
public:
    I_Ofichier(ProgramState &state, QString path) : m_state(state), m_path(std::move(path)) {}

    const QString &path() const { return m_path; }
    bool exists() const;

    void charge_config();
    void sauve_config();

    // False once a save could not reach the disk; the settings then live in memory only.
    bool lastSaveSucceeded() const { return m_lastSaveOk; }

private:
    ProgramState &m_state;
    QString m_path;
    bool m_lastSaveOk = true;
};

} // namespace orv
