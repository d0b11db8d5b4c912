#pragma once

#include "sources/K8055Board.h"
#include "sources/Source.h"

namespace orv {

// The K8055 board's two analog inputs. Each poll opens the board, reads it and closes it
// again, so a board plugged in, unplugged or replugged is seen at the next poll.
class BoardSource final : public Source {
public:
    static constexpr int kCardAddress = 3;

    // The board outlives the source; the program keeps one for its whole life.
    explicit BoardSource(K8055Board &board);

    // A first look for the board; the result is not needed, poll() finds out.
    void open() override;
    // Both values of the freshest report, or both empty when no report came: a value
    // from an earlier poll is never passed off as a new one.
    Readings poll() override;
    Readings latest() const override { return m_latest; }
    void close() override;
    // Empty until a poll gets no report, and again after the next one that does.
    QString problem() const override;

private:
    K8055Board &m_board;
    Readings m_latest;
    bool m_answered = true;
};

} // namespace orv
