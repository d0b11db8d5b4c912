#pragma once

#include "core/TestValue.h"
#include "sources/Source.h"

#include <QStringList>

#include <memory>

namespace orv::test {

// What the fake sources were asked, in order, across every source the factory made.
struct SourceLog {
    QStringList calls; // "open board", "poll board", "close serial", ...
    // What a polled device gives; the keyboard source always gives its test value.
    Readings readings{128, 255};
    QString problem;
};

class FakeSource final : public Source {
public:
    FakeSource(SourceKind kind, const TestValue &testValue, SourceLog &log)
        : m_kind(kind)
        , m_testValue(testValue)
        , m_log(log)
    {
    }

    void open() override { note("open"); }
    Readings poll() override
    {
        note("poll");
        m_last = m_kind == SourceKind::Keyboard ? Readings{m_testValue.value(), std::nullopt} : m_log.readings;
        return m_last;
    }
    // As the real devices: what the last poll obtained.
    Readings latest() const override
    {
        if (m_kind == SourceKind::Keyboard)
            return {m_testValue.value(), std::nullopt};
        return m_last;
    }
    void close() override { note("close"); }
    QString problem() const override { return m_log.problem; }
    int maintenanceIntervalMs() const override { return m_kind == SourceKind::Serial ? 10000 : 0; }
    void maintain() override { note("maintain"); }

private:
    void note(const char *what)
    {
        static const char *names[] = {"keyboard", "board", "serial"};
        m_log.calls << QStringLiteral("%1 %2").arg(QLatin1String(what), QLatin1String(names[static_cast<int>(m_kind)]));
    }

    SourceKind m_kind;
    const TestValue &m_testValue;
    SourceLog &m_log;
    Readings m_last;
};

class FakeSourceFactory final : public SourceFactory {
public:
    SourceLog log;
    std::unique_ptr<Source> make(SourceKind kind, const TestValue &testValue) override
    {
        return std::make_unique<FakeSource>(kind, testValue, log);
    }
};

} // namespace orv::test
