#pragma once

#include "core/Choices.h"
#include "core/Readings.h"
#include "core/Recorder.h"
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

// What the logger needs from outside the process.
struct LoggerServices {
    const Clock &clock;
    FileSystem &files;
    SourceFactory &sources;
    SettingsFile &settingsFile;
    // Where lines that cannot be written go at the end, in order of preference.
    QStringList rescueFolders;
};

// The data logger without its window: the settings, the chosen source, the recorder and the
// three timers that drive them (sampling, readout twice a second, the source's maintenance).
// The main window and the headless mode show what it does; neither holds any of its state.
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
    // Where lines still waiting at the end will be kept.
    QString rescueFolder() const { return m_services.rescueFolders.value(0); }
    // Rescue files of earlier runs that the user has not been told about yet.
    const QStringList &rescuedEarlier() const { return m_rescuedEarlier; }
    // Empty unless the settings file read at start-up was damaged; lower case, in French.
    const QString &damagedSettingsNotice() const { return m_damagedSettingsNotice; }

    bool recording() const { return m_recorder.recording(); }
    // Returns once every line taken so far has been tried on the disk, or after timeoutMs
    // (false then); a negative timeout waits as long as it takes.
    bool waitForWrites(int timeoutMs = -1);
    void startRecording();
    void stopRecording();

    // The user's choices, each saved at once. Only while no recording runs.
    void chooseInterval(Interval interval);
    void chooseSource(SourceKind kind);
    void setWindowWidth(qint16 twips);
    // Creates (or empties) the file with its header and records into it from now on.
    // Returns the French reason when the file cannot be made; nothing changes then.
    QString useNewRecordingFile(const QString &file);

    struct Ending {
        RecordingWriter::Rescue rescue; // what could not be written and where it went
    };
    // Ends everything: timers stop, the source closes, waiting lines get a last chance and
    // what still waits goes to a rescue file. Handlers do nothing afterwards.
    Ending shutDown();
    bool ended() const { return m_ended; }

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
    void readoutUpdated();
    // The number of lines waiting to be written changed.
    void waitingChanged();
    void recordingFileChanged();
    // A save of the settings failed; said once until a save succeeds again.
    void settingsNotSaved(const QString &message);

private:
    void openSource(SourceKind kind);
    void save();
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
    int m_lastWaiting = 0;
    bool m_saveFailureTold = false;
    bool m_ended = false;
};

} // namespace orv
