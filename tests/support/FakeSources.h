// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/Source.h"

#include <QStringList>

#include <functional>

#include <memory>

namespace orv::test {

// What the fake devices were asked, in order, across every source the factory made.
struct SourceLog {
    QStringList calls; // "open board", "poll board", "close serial", ...
    // What a polled device gives.
    Readings readings{128, 255};
    QString problem;
    bool missing = false;          // what needsCare() says
    std::function<void()> changed; // what the logger gave follow()
};

class FakeSource final : public Source {
public:
    FakeSource(SourceKind kind, SourceLog &log)
        : m_kind(kind)
        , m_log(log)
    {
    }

    void open() override { note("open"); }
    Readings poll() override
    {
        note("poll");
        m_last = m_log.readings;
        return m_last;
    }
    // As the real devices: what the last poll obtained.
    Readings latest() const override { return m_last; }
    void close() override { note("close"); }
    QString problem() const override { return m_log.problem; }
    int maintenanceIntervalMs() const override { return m_kind == SourceKind::Serial ? 10000 : 0; }
    void maintain() override { note("maintain"); }
    void follow(std::function<void()> changed) override { m_log.changed = std::move(changed); }
    bool needsCare() const override { return m_log.missing; }

private:
    void note(const char *what)
    {
        m_log.calls << QStringLiteral("%1 %2").arg(
            QLatin1String(what), m_kind == SourceKind::Serial ? QLatin1String("serial") : QLatin1String("board"));
    }

    SourceKind m_kind;
    SourceLog &m_log;
    Readings m_last;
};

class FakeSourceFactory final : public SourceFactory {
public:
    SourceLog log;
    std::unique_ptr<Source> make(SourceKind device) override { return std::make_unique<FakeSource>(device, log); }
};

} // namespace orv::test
