// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QWidget;

namespace orv {

// The text of a question box while it is open: it follows what it speaks of.
class QuestionText : public QObject {
    Q_OBJECT
public:
    explicit QuestionText(QString text)
        : m_text(std::move(text))
    {
    }
    const QString &text() const { return m_text; }
    void setText(const QString &text)
    {
        if (text == m_text)
            return;
        m_text = text;
        Q_EMIT changed(m_text);
    }

Q_SIGNALS:
    void changed(const QString &text);

private:
    QString m_text;
};

// Everything the windows ask of the desktop, so tests can answer instead of a person.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void beep() = 0;
    // Yes/No question box, Yes the default button, question icon; its text may change while
    // it is open. True for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &caption, QuestionText &text) = 0;
    // A message that must not stop the program's timers: shown without blocking.
    virtual void inform(QWidget *parent, const QString &caption, const QString &text) = 0;
    // The last word of a program that is ending: shown until the user closes it.
    virtual void tellBeforeEnd(const QString &caption, const QString &text) = 0;
    // Hands a link to the desktop's default handler; false when nothing took it.
    virtual bool openLink(const QString &link) = 0;
};

class QtDesktop final : public Desktop {
public:
    void beep() override;
    bool askYesNo(QWidget *parent, const QString &caption, QuestionText &text) override;
    void inform(QWidget *parent, const QString &caption, const QString &text) override;
    void tellBeforeEnd(const QString &caption, const QString &text) override;
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
