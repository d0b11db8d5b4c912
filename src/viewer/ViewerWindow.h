// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "viewer/ChartWidget.h"
#include "viewer/ViewerDialogs.h"

#include "recordings/RecordingWatch.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QListWidget;
class QProgressBar;

namespace orv {

struct ViewerServices {
    ViewerDialogs &dialogs;
    std::shared_ptr<RecordingFiles> files;
};

// A window that shows one recording file and follows it as it grows. It only reads: it takes
// no lock and opens no source, so it runs beside a recording.
class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kProgressDelayMs = 500;

    ViewerWindow(const QString &path, ViewerServices services, QWidget *parent = nullptr);
    ~ViewerWindow() override;

    // One window each, deleted when closed.
    static void open(const QStringList &paths, ViewerServices services);

    // What the reader found, from the watch.
    void apply(const RecordingReader::Update &update);
    void exportWorkbook();
    void exportPicture(const QString &suffix);

Q_SIGNALS:
    // The last export ended; empty when it went well, otherwise why not.
    void exported(const QString &path, const QString &failure);

private:
    void buildMenus();
    // Every title when the file was read anew; only the last ones when lines were added.
    void showRecordings(bool readAnew);
    void showChosenRecording();
    void showNotice();
    void showProgress(qint64 done, qint64 total);
    RecordingSpan chosenSpan() const;
    // Runs write off the window's thread, then tells how it went and emits exported.
    void writeOffThread(const QString &target, const QString &writtenText, std::function<QString()> write);

    QString m_path;
    ViewerServices m_services;
    std::shared_ptr<SampleTable> m_table;
    MinMaxIndex m_index;
    ReadNotes m_notes;
    QString m_problem;
    bool m_loading = true;
    QElapsedTimer m_sinceStart;

    ChartWidget *m_chart = nullptr;
    QListWidget *m_list = nullptr;
    QLabel *m_notice = nullptr;
    QLabel *m_cursor = nullptr;
    QProgressBar *m_progress = nullptr;
    QAction *m_followAction = nullptr;
    RecordingWatch *m_watch = nullptr;
};

} // namespace orv
