// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowScenes.h"

#include "logging/Logger.h"
#include "ui/AboutWindow.h"
#include "ui/MainWindow.h"
#include "ui/OptionsWindow.h"
#include "ui/RecordingLight.h"

#include <QCoreApplication>
#include <QDir>

#include <cmath>

namespace orv {

WindowScenes::WindowScenes(MainWindow &window, Logger &logger, Desktop &desktop, Hooks hooks)
    : m_window(window)
    , m_logger(logger)
    , m_hooks(std::move(hooks))
{
    m_window.makeAboutWindow = [&desktop](QWidget *parent) { return new AboutWindow(desktop, parent); };
}

QWidget *WindowScenes::show(Scene scene)
{
    QWidget *shown = &m_window;
    switch (scene) {
    case Scene::Narrow: {
        m_window.show();
        QDir().mkdir(QStringLiteral("mesures"));
        m_logger.useNewRecordingFile(QStringLiteral("mesures/serre.csv"));
        m_window.onRecordClicked();
        // 120 samples a second apart, the value steered with "+" and "-".
        int value = 0;
        for (int i = 0; i < 120; ++i) {
            const int target = static_cast<int>(std::lround(110 + 70 * std::sin(i / 10.0) + 20 * std::sin(i / 2.7)));
            for (; value < target; ++value)
                m_logger.pressTestKey(u'+');
            for (; value > target; --value)
                m_logger.pressTestKey(u'-');
            takeSample();
        }
        break;
    }
    case Scene::Wide:
    case Scene::WaitingNarrow: m_window.onChartToggled(); break;
    case Scene::WaitingWide:
        m_hooks.breakWrites();
        for (int i = 0; i < 3; ++i)
            takeSample();
        break;
    case Scene::Options:
        m_window.onSettingsClicked();
        shown = m_window.optionsWindow();
        break;
    case Scene::About:
        if (m_window.optionsWindow())
            m_window.optionsWindow()->close();
        m_window.onAboutClicked();
        shown = m_window.aboutWindow();
        break;
    }
    settle();
    return shown;
}

void WindowScenes::takeSample()
{
    m_hooks.advanceClock(m_logger.sampleTimer().interval());
    m_logger.onSampleTimer();
}

void WindowScenes::settle()
{
    // The readout at the time of the last sample; what the writer's thread reports reaches
    // the window, which then lays out and paints.
    m_logger.onReadoutTimer();
    m_logger.waitForWrites(5000);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    // The recording light lit, whatever its blinking timer did meanwhile.
    if (m_logger.recording() && !m_window.controls().light->isLit())
        m_window.onLedTimer();
}

} // namespace orv
