#pragma once

#include "ui/Desktop.h"

#include <QStringList>

namespace orv::test {

// Answers the question box from a script and records what the windows asked and said.
class FakeDesktop final : public Desktop {
public:
    bool answer = true;
    int beeps = 0;
    QStringList questions;
    QStringList messages;
    QStringList links;
    bool linkOpens = true;

    void beep() override { ++beeps; }
    bool askYesNo(QWidget *, const QString &, const QString &text) override
    {
        questions << text;
        return answer;
    }
    void inform(QWidget *, const QString &, const QString &text) override { messages << text; }
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
