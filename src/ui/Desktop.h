#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace orv {

// Everything the windows ask of the desktop, so tests can answer instead of a person.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void beep() = 0;
    // Yes/No question box, Yes the default button, question icon. True for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A message that must not stop the program's timers: shown without blocking.
    virtual void inform(QWidget *parent, const QString &caption, const QString &text) = 0;
    // Hands a link to the desktop's default handler; false when nothing took it.
    virtual bool openLink(const QString &link) = 0;
};

class QtDesktop final : public Desktop {
public:
    void beep() override;
    bool askYesNo(QWidget *parent, const QString &caption, const QString &text) override;
    void inform(QWidget *parent, const QString &caption, const QString &text) override;
    bool openLink(const QString &link) override;
};

// What the new-recording command asks of the save dialog.
struct SaveRequest {
    QString title;
    QString suggestedName;
    QString defaultSuffix = QStringLiteral("csv");
    QString filter = QStringLiteral("*.csv");
    bool confirmOverwrite = true; // an existing file is emptied only after the user said so
};

// The save dialog: the chosen name exactly as typed, or nothing when the user cancelled.
class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    virtual std::optional<QString> askSaveName(QWidget *parent, const SaveRequest &request) = 0;
};

class QtSaveDialog final : public SaveDialog {
public:
    std::optional<QString> askSaveName(QWidget *parent, const SaveRequest &request) override;
};

} // namespace orv
