// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <functional>

class QWidget;

namespace orv {

class Desktop;
class Logger;
class MainWindow;

// The windows in the states the documentation shows and the picture tests compare: a
// recording of 120 samples in keyboard test mode, narrow then with the chart, then with lines
// that cannot be written, then the options and the About windows. Shared by the screenshot
// tool (on the real desktop) and the tests (on fakes); time moves only when the scenes move it,
// so every run draws the same pictures.
class WindowScenes {
public:
    enum class Scene { Narrow, Wide, WaitingWide, WaitingNarrow, Options, About };

    struct Hooks {
        std::function<void(qint64 ms)> advanceClock;
        // From now on the recording file takes no more lines.
        std::function<void()> breakWrites;
    };

    // The logger has started and the window has shown its start-up.
    WindowScenes(MainWindow &window, Logger &logger, Desktop &desktop, Hooks hooks);

    // Brings the windows to `scene`, the scenes taken in their order, and returns the window
    // that shows it, ready to be grabbed before any further event is handled.
    QWidget *show(Scene scene);

private:
    void takeSample();
    void settle();

    MainWindow &m_window;
    Logger &m_logger;
    Hooks m_hooks;
};

} // namespace orv
