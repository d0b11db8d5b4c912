#pragma once

#include "core/Choices.h"
#include "core/LineFile.h"
#include "core/Readings.h"
#include "core/Recorder.h"
#include "core/RescueFiles.h"
#include "core/Worker.h"
#include "settings/Settings.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

namespace orv {

class Clock;
class FileSystem;
class SettingsFile;
class Source;
class SourceFactory;

// How long the end may take with a disk that does not answer: the writers get
// kEndingDeadlineMs to finish what is on its way, then each rescue folder kRescueAttemptMs.
// The whole end stays under ten seconds, below the service unit's stop timeout.
struct EndingTimes {
    static constexpr int kEndingDeadlineMs = 3000;
    static constexpr int kRescueAttemptMs = 2000;
    int deadlineMs = kEndingDeadlineMs;
    int rescueAttemptMs = kRescueAttemptMs;
};

// What the logger needs from outside the process.
struct LoggerServices {
    const Clock &clock;
    FileSystem &files;
    SourceFactory &sources;
    SettingsFile &settingsFile;
    // Where lines that cannot be written go at the end, in order of preference.
    QStringList rescueFolders;
    EndingTimes ending = {};
};

// The data logger without its window: the settings, the chosen source, the recorder and the
// three timers that drive them (sampling, readout twice a second, the source's maintenance).
// The main window and the headless mode show what it does; neither holds any of its state.
// Nothing here waits for a disk, but the end, which is bounded.
class Logger : public QObject {
    Q_OBJECT
public:
    explicit Logger(LoggerServices services, QObject *parent = nullptr);
    ~Logger() override;

    // Choices given for this run only (command line); the settings file keeps its own.
    struct Overrides {
        std::optional<Interval> interval;
        std::optional<SourceKind> source;
        std::optional<QString> recordingFile;
    };
    // Reads the settings (or creates the file with the defaults), opens the chosen source
    // and starts the readout.
    void startUp(const Overrides &overrides = {});

    const Settings &settings() const { return m_settings; }
    const Recorder &recorder() const { return m_recorder; }
    TestValue &testValue() { return m_recorder.testValue(); }
    const Source &source() const { return *m_source; }
    // What the last readout tick obtained; the time of that tick.
    const Readings &readout() const { return m_readout; }
    QDateTime now() const;
    // Files of earlier runs kept in the rescue folders that the user has not been told about,
    // and what to tell of them, in French, one sentence each.
    const QStringList &rescuedEarlier() const { return m_rescuedEarlier; }
    QStringList rescuedEarlierNotices() const;
    // Empty unless the settings file read at start-up was damaged; lower case, in French.
    const QString &damagedSettingsNotice() const { return m_damagedSettingsNotice; }

    // Lines not yet written, per file: waiting after a failure, or (all) still on their way.
    QList<RecordingWriter::Waiting> waiting() const { return m_recorder.writer().waiting(); }
    QList<RecordingWriter::Waiting> unconfirmed() const { return m_recorder.writer().unconfirmed(); }
    int waitingLines() const { return m_recorder.writer().waitingLines(); }
    // Looks, off this thread, for a rescue folder that takes a file now; rescueFolderChecked tells.
    void checkRescueFolder();
    // Returns once every line taken so far has been tried on the disk, or after timeoutMs
    // (false then); a negative timeout waits as long as it takes. For tests and tools.
    bool waitForWrites(int timeoutMs = -1);

    bool recording() const { return m_recorder.recording(); }
    void startRecording();
    void stopRecording();

    // The user's choices, each saved at once, off this thread. Only while no recording runs.
    void chooseInterval(Interval interval);
    void chooseSource(SourceKind kind);
    void setWindowWidth(qint16 twips);
    // Records into `file` from now on; it is created (or emptied) with its header off this
    // thread, after the lines already on their way to it. If that fails, newRecordingFileFailed
    // tells, and the previous file is used again unless a recording has started into this one.
    void useNewRecordingFile(const QString &file);

    struct Ending {
        RecordingWriter::Rescue rescue; // what could not be written and where it went
        bool settingsUnsaved = false;   // a save did not finish by the deadline
        // 0 every sample is in its file, 3 some are in a rescue file, 4 some are lost.
        int exitCode() const { return rescue.lost > 0 ? 4 : rescue.files.isEmpty() ? 0 : 3; }
        // What the user must be told, in French, one sentence each.
        QStringList messages() const;
    };
    // Ends everything within a bounded time: timers stop, the source closes, waiting lines
    // get a last chance until the deadline and what is not confirmed then goes to a rescue
    // file. Handlers do nothing afterwards.
    Ending shutDown();
    // After the end: a thread still waits for a disk that does not answer, so the process
    // must end without waiting for its threads.
    bool stuckOnDisk() const { return m_recorder.writer().stuck() || m_disk.busy(); }

    // Timer handlers, public so tests drive them on a fake clock.
    void onSampleTimer();
    void onReadoutTimer();
    void onMaintenanceTimer();

    QTimer &sampleTimer() { return m_sampleTimer; }
    QTimer &readoutTimer() { return m_readoutTimer; }
    QTimer &maintenanceTimer() { return m_maintenanceTimer; }

    // The French sentence for a torn end cut off a recording file.
    static QString fragmentNotice(const QString &file, const Fragment &fragment);

Q_SIGNALS:
    void recordingStarted();
    void sampleTaken(int number);
    // storeFull: a sample was due after the last slot of the store.
    void recordingStopped(bool storeFull);
    void readoutUpdated();
    // The lines waiting to be written changed: their files, counts or reasons.
    void waitingChanged();
    void recordingFileChanged();
    // The new recording file could not be made; `kept` is the file recorded into now.
    void newRecordingFileFailed(const QString &file, const QString &reason, const QString &kept);
    // A save of the settings failed; said once until a save succeeds again.
    void settingsNotSaved(const QString &message);
    // A recording file ended with a torn line, which was cut off; French, for the user.
    void fragmentCut(const QString &notice);
    void rescueFolderChecked(const FolderCheck &check);

private:
    void openSource(SourceKind kind);
    void save();
    void onSaved(bool ok, const QString &message);
    void onCreated(const QString &file, const QString &previous, int error);
    void noteWaiting();

    LoggerServices m_services;
    Settings m_stored;   // what the settings file holds
    Settings m_settings; // what this run uses: the stored choices and the overrides
    Recorder m_recorder;
    std::unique_ptr<Source> m_source;
    Readings m_readout;
    QStringList m_rescuedEarlier;
    QString m_damagedSettingsNotice;
    QTimer m_sampleTimer;
    QTimer m_readoutTimer;
    QTimer m_maintenanceTimer;
    QList<RecordingWriter::Waiting> m_lastWaiting;
    bool m_saveFailureTold = false;
    bool m_recordedIntoNewFile = false; // a recording started since the last new file was asked for
    bool m_ended = false;
    // Settings saves and folder checks; declared last, so it ends first, before what its
    // jobs use.
    Worker m_disk;
};

} // namespace orv
