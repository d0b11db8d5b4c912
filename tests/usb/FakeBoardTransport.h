#pragma once

#include "sources/usb/BoardTransport.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

// A scripted K8055 board. Reports are either already queued in the host (any
// read takes them) or arrive later (only a read that waits takes them). It
// never sleeps: a read with nothing to serve times out at once.
class FakeBoardTransport final : public BoardTransport {
public:
    static BoardReport report(quint8 status, quint8 analog1, quint8 analog2)
    {
        return { 0x00, status, analog1, analog2, 0, 0, 0, 0 };
    }

    // Board present at these ids; cleared by unplug().
    void plug(quint16 productId = 0x5503) { m_plugged.insert(productId); }

    // The board goes away: the open handle fails from now on and nothing queued survives.
    void unplug()
    {
        m_plugged.clear();
        m_queued.clear();
        m_later.clear();
        m_handleDead = m_openHandles > 0;
    }

    void queue(const BoardReport &r) { m_queued.push_back(r); }
    void arriveLater(const BoardReport &r) { m_later.push_back(r); }
    // The next read fails as a disconnect or a bus error would.
    void failNextRead() { m_failNext = true; }

    // What the board layer asked for, in order: "open 10cf:5503", "read", "close".
    const std::vector<std::string> &calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    int openHandles() const { return m_openHandles; }
    // Most handles held at once; more than 1 means one leaked.
    int mostOpenHandles() const { return m_mostOpenHandles; }

    bool open(quint16 vendorId, quint16 productId) override
    {
        char call[32];
        std::snprintf(call, sizeof call, "open %04x:%04x", vendorId, productId);
        m_calls.emplace_back(call);
        if (vendorId != 0x10CF || !m_plugged.contains(productId))
            return false;
        // Deliberately not closing an open handle first, so a leak shows up.
        ++m_openHandles;
        m_mostOpenHandles = std::max(m_mostOpenHandles, m_openHandles);
        m_handleDead = false;
        return true;
    }

    int read(BoardReport &r, int timeoutMs) override
    {
        m_calls.emplace_back("read");
        if (m_openHandles == 0 || m_handleDead || std::exchange(m_failNext, false))
            return -1;
        std::deque<BoardReport> &source = !m_queued.empty() || timeoutMs <= 0 ? m_queued : m_later;
        if (source.empty())
            return 0;
        r = source.front();
        source.pop_front();
        return static_cast<int>(r.size());
    }

    void close() override
    {
        m_calls.emplace_back("close");
        m_openHandles = 0;
        m_handleDead = false;
    }

    bool isOpen() const override { return m_openHandles > 0; }

private:
    std::set<quint16> m_plugged;
    std::deque<BoardReport> m_queued;
    std::deque<BoardReport> m_later;
    std::vector<std::string> m_calls;
    int m_openHandles = 0;
    int m_mostOpenHandles = 0;
    bool m_handleDead = false;
    bool m_failNext = false;
};

} // namespace orv::test
