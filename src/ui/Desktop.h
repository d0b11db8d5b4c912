#pragma once

#include <QString>

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

// The save dialog of the main window (CmDialog1): set its fields, show it, read the name.
class SaveDialog {
public:
    virtual ~SaveDialog() = default;

    QString FileName;
    QString DialogTitle;
    QString DefaultExt = QStringLiteral("csv");
    QString Filter = QStringLiteral("*.csv");
    // 0x2 confirm overwrite, 0x4 hide read-only box, 0x800 existing folders only,
    // 0x200000 long names.
    int Flags = 0;

    // False when the user cancelled; FileName then keeps what it held.
    virtual bool ShowSave(QWidget *parent) = 0;
};

class QtSaveDialog final : public SaveDialog {
public:
    bool ShowSave(QWidget *parent) override;
};

} // namespace orv
