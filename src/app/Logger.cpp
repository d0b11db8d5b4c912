#include "Logger.h"

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "settings/SettingsFile.h"
#include "sources/Source.h"

#include <QDir>

namespace orv {

namespace {
constexpr int kReadoutMs = 500;
} // namespace

Logger::Logger(LoggerServices services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_recorder(m_services.clock, m_services.files)
{
    for (QTimer *t : {&m_sampleTimer, &m_readoutTimer, &m_maintenanceTimer})
        t->setTimerType(Qt::PreciseTimer);
    m_sampleTimer.setSingleShot(true);
    m_readoutTimer.setInterval(kReadoutMs);
    connect(&m_sampleTimer, &QTimer::timeout, this, &Logger::onSampleTimer);
    connect(&m_readoutTimer, &QTimer::timeout, this, &Logger::onReadoutTimer);
    connect(&m_maintenanceTimer, &QTimer::timeout, this, &Logger::onMaintenanceTimer);
    // The writer's thread reports; the count is read here, on this thread.
    m_recorder.writer().setOnChange(
        [this] { QMetaObject::invokeMethod(this, &Logger::noteWaiting, Qt::QueuedConnection); });
}

Logger::~Logger()
{
    m_recorder.writer().setOnChange({});
    if (m_source)
        m_source->close();
}

QDateTime Logger::now() const
{
    return m_services.clock.localNow();
}

void Logger::startUp(const Overrides &overrides)
{
    for (const QString &folder : m_services.rescueFolders)
        m_rescuedEarlier += takeRescueNotes(m_services.files, folder);

    const SettingsFile::Loaded loaded = m_services.settingsFile.load();
    m_stored = loaded.settings;
    // A first start leaves the defaults in a new file; a damaged one waits for a real save.
    if (loaded.status == SettingsFile::Status::Missing)
        save();
    m_damagedSettingsNotice = loaded.notice;

    m_settings = m_stored;
    if (overrides.interval)
        m_settings.interval = *overrides.interval;
    if (overrides.source)
        m_settings.source = *overrides.source;
    if (overrides.recordingFile)
        m_settings.recordingFile = *overrides.recordingFile;

    openSource(m_settings.source);
    m_readoutTimer.start();
}

void Logger::openSource(SourceKind kind)
{
    if (m_source)
        m_source->close();
    m_source = m_services.sources.make(kind, m_recorder.testValue());
    m_source->open();
    m_readout = {};
    const int every = m_source->maintenanceIntervalMs();
    if (every > 0)
        m_maintenanceTimer.start(every);
    else
        m_maintenanceTimer.stop();
}

void Logger::save()
{
    const SettingsFile::Saved saved = m_services.settingsFile.save(m_stored);
    if (saved.ok) {
        m_saveFailureTold = false;
    } else if (!m_saveFailureTold) {
        m_saveFailureTold = true;
        Q_EMIT settingsNotSaved(saved.message);
    }
}

void Logger::startRecording()
{
    if (m_ended || recording())
        return;
    m_recorder.start(samplingPlan(m_settings.interval), m_settings.recordingFile);
    m_sampleTimer.start(TickSchedule::FirstTickMs);
    Q_EMIT recordingStarted();
}

void Logger::stopRecording()
{
    if (!recording())
        return;
    m_recorder.stop();
    m_sampleTimer.stop();
    Q_EMIT recordingStopped(false);
}

void Logger::onSampleTimer()
{
    if (m_ended || !recording())
        return;
    const Recorder::Tick tick = m_recorder.tick(m_source->latest());
    if (tick.stoppedFull) {
        m_sampleTimer.stop();
        Q_EMIT recordingStopped(true);
        return;
    }
    m_sampleTimer.start(tick.delayMs);
    if (tick.sampleTaken)
        Q_EMIT sampleTaken(m_recorder.store().count());
}

void Logger::onReadoutTimer()
{
    if (m_ended)
        return;
    m_readout = m_source->poll();
    Q_EMIT readoutUpdated();
    // Lines that could not be written are retried without waiting for the next sample.
    if (m_recorder.writer().waitingLines() > 0)
        m_recorder.writer().retry();
}

void Logger::onMaintenanceTimer()
{
    if (m_ended)
        return;
    m_source->maintain();
}

void Logger::noteWaiting()
{
    const int waiting = m_recorder.writer().waitingLines();
    if (waiting != m_lastWaiting) {
        m_lastWaiting = waiting;
        Q_EMIT waitingChanged();
    }
}

void Logger::chooseInterval(Interval interval)
{
    m_stored.interval = m_settings.interval = interval;
    save();
}

void Logger::chooseSource(SourceKind kind)
{
    // Choosing the source in use changes nothing: an open port stays as it is.
    if (kind != m_settings.source)
        openSource(kind);
    m_stored.source = m_settings.source = kind;
    save();
}

void Logger::setWindowWidth(qint16 twips)
{
    m_stored.windowWidth = m_settings.windowWidth = twips;
    save();
}

bool Logger::waitForWrites(int timeoutMs)
{
    return m_recorder.writer().drain(timeoutMs);
}

QString Logger::useNewRecordingFile(const QString &file)
{
    // Lines still on their way to the old file must not land in the new one (the same name
    // chosen again is emptied here).
    m_recorder.writer().drain();
    const int error = RecordingWriter::createWithHeader(m_services.files, file);
    if (error != 0)
        return fileErrorReason(error);
    m_stored.recordingFile = m_settings.recordingFile = file;
    save();
    Q_EMIT recordingFileChanged();
    return {};
}

Logger::Ending Logger::shutDown()
{
    Ending ending;
    if (m_ended)
        return ending;
    m_ended = true;
    for (QTimer *t : {&m_sampleTimer, &m_readoutTimer, &m_maintenanceTimer})
        t->stop();
    m_recorder.stop();
    if (m_source)
        m_source->close();
    // A last chance for what waits, after everything on its way has been tried.
    BackgroundWriter &writer = m_recorder.writer();
    writer.drain();
    if (writer.waitingLines() > 0) {
        writer.retry();
        writer.drain();
    }
    if (writer.waitingLines() > 0)
        ending.rescue = writer.rescue(m_services.rescueFolders, m_services.clock.localNow());
    return ending;
}

} // namespace orv
