// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Desktop.h"

#include <QStringList>

#include <functional>

namespace orv::test {

// Answers the question box from a script and records what the windows asked and said.
class FakeDesktop final : public Desktop {
public:
    bool answer = true;
    int beeps = 0;
    QStringList questions; // as each question came
    QStringList answered;  // as each question read when it was answered
    // Runs while a question is open, as the event loop runs behind a real box.
    std::function<void(const QuestionText &)> whileAsking;
    QStringList messages;
    QStringList lastWords; // told before the program ended
    QStringList links;
    bool linkOpens = true;

    void beep() override { ++beeps; }
    bool askYesNo(QWidget *, const QString &, QuestionText &text) override
    {
        questions << text.text();
        if (whileAsking)
            whileAsking(text);
        answered << text.text();
        return answer;
    }
    void inform(QWidget *, const QString &, const QString &text) override { messages << text; }
    void tellBeforeEnd(const QString &, const QString &text) override { lastWords << text; }
    bool openLink(const QString &link) override
    {
        links << link;
        return linkOpens;
    }
};

// The save dialog, answered by the test: a name, or a cancel.
class FakeSaveDialog final : public SaveDialog {
public:
    std::optional<QString> chooses; // nullopt: the user cancels
    SaveRequest seen;

    std::optional<QString> askSaveName(QWidget *, const SaveRequest &request) override
    {
        seen = request;
        return chooses;
    }
};

} // namespace orv::test
