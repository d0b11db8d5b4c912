#pragma once

#include "core/ProgramState.h"

#include <QString>

#include <array>
#include <functional>

namespace orv {

class I_Ofichier;

struct IntervalChoice {
    const char *caption;   // UTF-8
    const char *tooltip;   // empty: no tooltip
    const char *intervalText;
    qint16 divider;
};

// Index 1..10 of the interval buttons maps to row index - 1.
extern const std::array<IntervalChoice, 10> kIntervalChoices;

// Index 0..2 of the source buttons is the source code.
extern const std::array<const char *, 3> kSourceCaptions;

// What choosing an interval or a source does to the program-wide values; the options
// window forwards its clicks here, and start-up calls the same handlers unseen.
class OptionsBehaviour {
public:
    struct SerialHooks {
        std::function<bool()> portOpen;
        std::function<void()> rs232_ouvre;
        std::function<void()> rs232_ferme;
        std::function<void(bool)> setEmptyingTimerEnabled; // TimerVideBufferRS
    };

    OptionsBehaviour(ProgramState &state, I_Ofichier &config, SerialHooks hooks)
        : m_state(state), m_config(config), m_hooks(std::move(hooks)) {}

    // windowVisible: only a choice made in the shown window is saved at once.
    void Option1_Click(qint16 index, bool windowVisible);
    void Option2_Click(qint16 index, bool windowVisible);

private:
    ProgramState &m_state;
    I_Ofichier &m_config;
    SerialHooks m_hooks;
};

} // namespace orv
