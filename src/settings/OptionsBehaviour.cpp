#include "OptionsBehaviour.h"

#include "I_Ofichier.h"

namespace orv {

const std::array<IntervalChoice, 10> kIntervalChoices = {{
    {"1\"", "8h record", "1000", 1},
    {"10\"", "17h record", "10000", 1},
    {"1 '", "2days record", "60000", 1},
    {"15 '", "3days record", "60000", 15},
    {"30 '", "7days record", "60000", 30},
    {"1h", "22 days record", "60000", 60},
    {"3h", "", "60000", 180},
    {"6h", "", "60000", 360},
    {"12h", "", "60000", 720},
    {"24h", "", "60000", 1440},
}};

const std::array<const char *, 3> kSourceCaptions = {
    "Mode Test (clavier +/-)",
    "USB P8055",
    "RS232 com N°",
};

void OptionsBehaviour::Option1_Click(qint16 index, bool windowVisible)
{
    if (index >= 1 && index <= 10) {
        const IntervalChoice &row = kIntervalChoices[static_cast<std::size_t>(index - 1)];
        m_state.intervalText = QString::fromLatin1(row.intervalText);
        m_state.tickDivider = row.divider;
    }
    m_state.settings.intervalIndex = static_cast<quint8>(index);
    if (windowVisible)
        m_config.sauve_config();
}

void OptionsBehaviour::Option2_Click(qint16 index, bool windowVisible)
{
    if (index == SourceTest || index == SourceUsb) {
        if (m_hooks.rs232_ferme)
            m_hooks.rs232_ferme();
        if (m_hooks.setEmptyingTimerEnabled)
            m_hooks.setEmptyingTimerEnabled(false);
    } else if (index == SourceSerial) {
        const bool open = m_hooks.portOpen && m_hooks.portOpen();
        if (!open) {
            if (m_hooks.rs232_ouvre)
                m_hooks.rs232_ouvre();
            if (m_hooks.setEmptyingTimerEnabled)
                m_hooks.setEmptyingTimerEnabled(true);
        }
    }
    m_state.settings.sourceCode = static_cast<quint8>(index);
    if (windowVisible)
        m_config.sauve_config();
}

} // namespace orv
