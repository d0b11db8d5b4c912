// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/BoardTransport.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace orv::test {

// A scripted K8055 board at address 3: each read takes the next report to arrive. It never
// sleeps: a read with no report left times out at once.
struct FakeBoardTransport final : BoardTransport {
    static BoardReport report(quint8 status, quint8 analog1, quint8 analog2)
    {
        return {0, status, analog1, analog2, 0, 0, 0, 0};
    }

    bool plugged = false;
    std::deque<BoardReport> reports;
    int readGives = 8;                        // the byte count of each read that finds a report; -1: every read fails
    std::vector<std::string> calls;           // "open 10cf:5503", "read", "close"
    int openHandles = 0, mostOpenHandles = 0; // more than 1 at once: a handle leaked
    bool handleDead = false;

    // The open handle fails from now on and no report comes.
    void unplug()
    {
        plugged = false;
        reports.clear();
        handleDead = openHandles > 0;
    }

    bool open(quint16 vendorId, quint16 productId) override
    {
        calls.push_back(vendorId == 0x10CF && productId == 0x5503 ? "open 10cf:5503" : "open another device");
        if (!plugged || calls.back() != "open 10cf:5503")
            return false;
        // Deliberately not closing an open handle first, so a leak shows up.
        mostOpenHandles = std::max(mostOpenHandles, ++openHandles);
        handleDead = false;
        return true;
    }
    int read(BoardReport &r, int) override
    {
        calls.emplace_back("read");
        if (openHandles == 0 || handleDead || readGives < 0)
            return -1;
        if (reports.empty())
            return 0;
        r = reports.front();
        reports.pop_front();
        return readGives;
    }
    void close() override
    {
        calls.emplace_back("close");
        openHandles = 0;
    }
    bool isOpen() const override { return openHandles > 0; }
};

} // namespace orv::test
