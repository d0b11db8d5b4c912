// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Choices.h"
#include "core/Readings.h"
#include "core/Recorder.h"
#include "core/RescueFiles.h"
#include "core/Worker.h"
#include "logging/TestValue.h"
#include "settings/Settings.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

namespace orv {

class Clock;
class FileSystem;
class Publisher;
class SettingsFile;
class Source;
class SourceFactory;
struct BrokerAddress;
struct PublishTuning;

// How long the end may take with a disk that does not answer: the writers get
// kEndingDeadlineMs to finish what is on its way, and the broker as long for the samples
// waiting for it; then each rescue folder gets kRescueAttemptMs. The whole end stays under
// ten seconds, below the service unit's stop timeout.
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
    SourceFactory &sources; // the devices; the logger makes the keyboard source itself
    SettingsFile &settingsFile;
    // Where lines that cannot be written go at the end, in order of preference.
    QStringList rescueFolders;
    EndingTimes ending = {};
};

// The data logger without its window: the settings, the chosen source, the test value, the
// recorder, the publishing of its samples, and the three timers that drive them (sampling,
// readout twice a second, the source's maintenance). The main window and the headless mode
// show what it does; neither holds any of its state. Nothing here waits for a disk, but the
// end, which is bounded.
class Logger : public QObject {
    Q_OBJECT
public:
    using Waiting = RecordingWriter::Waiting;

    explicit Logger(LoggerServices services, QObject *parent = nullptr);
    ~Logger() override;

    // Choices given for this run only (command line); the settings file keeps its own.
    struct Overrides {
        std::optional<Interval> interval;
        std::optional<SourceKind> source;
        std::optional<QString> recordingFile;
    };
    // How the source is read. Readout: a window shows the values, so the readout polls the
    // source twice a second and each sample records what it last gave. Samples: nobody
    // looks, so nothing runs between samples; the source is polled right before each sample,
    // a device that speaks on its own is read as its bytes arrive, and a missing device is
    // looked for at the source's own pace only while it is missing.
    enum class Reading { Readout, Samples };
    // Reads the settings (or creates the file with the defaults), opens the chosen source
    // and starts reading it.
    void startUp(const Overrides &overrides = {}, Reading reading = Reading::Readout);
    // Publishes every sample from now on to an MQTT broker (--mqtt); publishingNotice and
    // publishingChanged tell how it goes. Its last chance at the end runs beside the writer's.
    void publishTo(const BrokerAddress &broker);
    void publishTo(const BrokerAddress &broker, const PublishTuning &tuning);
    // For a tooltip, in French: the broker, the connection, the samples waiting; empty when
    // not publishing.
    QString publishingSummary() const;

    const Settings &settings() const { return m_settings; }
    // The samples of the current (or last) recording.
    const SampleStore &samples() const { return m_recorder.store(); }
    // What the last readout tick obtained; the time of that tick.
    const Readings &readout() const { return m_readout; }
    QDateTime now() const;
    // Why the source gives no values, in French; empty when all is well.
    QString sourceProblem() const;
    // What to tell of the files of earlier runs kept in the rescue folders that the user has
    // not been told about, in French, one sentence each.
    QStringList rescuedEarlierNotices() const;
    // Empty unless the settings file read at start-up was damaged or unreadable; lower case,
    // in French.
    const QString &damagedSettingsNotice() const { return m_damagedSettingsNotice; }

    // Lines not yet written, per file: waiting after a failure, or (all) still on their way.
    QList<Waiting> waiting() const { return m_recorder.writer().waiting(); }
    QList<Waiting> unconfirmed() const { return m_recorder.writer().unconfirmed(); }
    int waitingLines() const { return m_recorder.writer().waitingLines(); }
    // Looks, off this thread, for a rescue folder that takes a file now; rescueFolderChecked tells.
    void checkRescueFolder();
    // Returns once every line taken so far has been tried on the disk, or after timeoutMs
    // (false then); a negative timeout waits as long as it takes. For tests and tools.
    bool waitForWrites(int timeoutMs = -1);

    bool recording() const { return m_recorder.recording(); }
    // A new recording: the samples and the test value start again from zero.
    void startRecording();
    void stopRecording();
    // Test mode: "+" and "-" change value 1 by one, within 16 bits; other keys do nothing.
    void pressTestKey(QChar key);

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
    // get a last chance until the deadline, and samples waiting for the broker as long,
    // meanwhile; what is not confirmed then goes to a rescue file. Handlers do nothing
    // afterwards. What publishing says of its end comes after the caller's next return to
    // the event loop, so after what the caller says of this end.
    Ending shutDown();
    // After the end: a thread still waits for a disk that does not answer, so the process
    // must end without waiting for its threads.
    bool stuckOnDisk() const;

    // Timer handlers, public so tests drive them on a fake clock.
    void onSampleTimer();
    void onReadoutTimer();
    void onMaintenanceTimer();

    QTimer &sampleTimer() { return m_sampleTimer; }
    QTimer &readoutTimer() { return m_readoutTimer; }
    QTimer &maintenanceTimer() { return m_maintenanceTimer; }

Q_SIGNALS:
    void recordingStarted();
    void sampleTaken(int number);
    // storeFull: a sample was due after the last slot of the store.
    void recordingStopped(bool storeFull);
    // What readout() and sourceProblem() give may have changed: after each poll of the source,
    // and when a followed device spoke.
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
    // What publishing has to say, in French, lower case: the connection made, each kind of
    // trouble once, samples kept in a file.
    void publishingNotice(const QString &text);
    // What publishingSummary() says may have changed.
    void publishingChanged();

private:
    void openSource(SourceKind kind);
    void pollSource();
    void onSourceChanged();
    void careForSource();
    void save();
    void onSaved(bool ok, const QString &message);
    void onCreated(const QString &file, const QString &previous, int error);
    void noteWaiting();

    LoggerServices m_services;
    Settings m_stored;   // what the settings file holds
    Settings m_settings; // what this run uses: the stored choices and the overrides
    TestValue m_testValue;
    Recorder m_recorder;
    std::unique_ptr<Source> m_source;
    std::unique_ptr<Publisher> m_publisher;
    Readings m_readout;
    QStringList m_rescuedEarlier;
    QString m_damagedSettingsNotice;
    QTimer m_sampleTimer;
    QTimer m_readoutTimer;
    QTimer m_maintenanceTimer;
    QList<Waiting> m_lastWaiting;
    Reading m_reading = Reading::Readout;
    bool m_saveFailureTold = false;
    bool m_recordedIntoNewFile = false; // a recording started since the last new file was asked for
    bool m_ended = false;
    // Settings saves and folder checks; declared last, so it ends first, before what its
    // jobs use.
    Worker m_disk;
};

} // namespace orv
