// SPDX-License-Identifier: GPL-3.0-or-later
#include "logging/Logger.h"

#include "core/Clock.h"
#include "core/FileNames.h"
#include "core/FileSystem.h"
#include "core/LineFile.h"
#include "logging/KeyboardSource.h"
#include "publishing/Publisher.h"
#include "settings/SettingsFile.h"
#include "sources/Source.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace orv {

namespace {

constexpr int kReadoutMs = 500;

// A piece of a file's bytes as it can be shown in a message: control characters and bytes
// that are not text escaped; of a long one the start only, unless every byte must be shown.
QString shown(const QByteArray &bytes, bool whole)
{
    const qsizetype limit = whole ? bytes.size() : 80;
    QString out;
    for (const char c : bytes.first(std::min(bytes.size(), limit))) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F)
            out += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
        else
            out += QLatin1Char(c);
    }
    return bytes.size() > limit ? out + QStringLiteral("…") : out;
}

QString shownList(const QStringList &files)
{
    QStringList shownFiles;
    for (const QString &file : files)
        shownFiles << displayableName(file);
    return shownFiles.join(QStringLiteral(", "));
}

// The French sentence for a torn end cut off a recording file.
QString fragmentNotice(const QString &file, const Fragment &fragment)
{
    if (!fragment.cut)
        return QStringLiteral("le fichier %1 ne se terminait pas par une fin de ligne : une fin de ligne a été "
                              "ajoutée pour que les nouvelles mesures commencent sur une ligne à elles")
            .arg(displayableName(file));
    QString text = QStringLiteral("le fichier %1 se terminait par une ligne incomplète (« %2 »), sans doute coupée "
                                  "par un arrêt brutal : elle a été retirée pour que les nouvelles mesures "
                                  "commencent sur une ligne à elles")
                       .arg(displayableName(file), shown(fragment.bytes, fragment.keptIn.isEmpty()));
    if (fragment.keptIn.isEmpty())
        return text + QStringLiteral(" ; aucun dossier n'a pu garder ses octets, ils sont ci-dessus");
    return text + QStringLiteral(", et gardée dans %1").arg(displayableName(fragment.keptIn));
}

} // namespace

Logger::Logger(LoggerServices services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_recorder(m_services.clock, m_services.files, m_services.rescueFolders)
{
    for (QTimer *t : {&m_sampleTimer, &m_readoutTimer, &m_maintenanceTimer})
        t->setTimerType(Qt::PreciseTimer);
    m_sampleTimer.setSingleShot(true);
    m_readoutTimer.setInterval(kReadoutMs);
    connect(&m_sampleTimer, &QTimer::timeout, this, &Logger::onSampleTimer);
    connect(&m_readoutTimer, &QTimer::timeout, this, &Logger::onReadoutTimer);
    connect(&m_maintenanceTimer, &QTimer::timeout, this, &Logger::onMaintenanceTimer);
    // The writer's threads report; what waits is read here, on this thread.
    m_recorder.writer().setOnChange(
        [this] { QMetaObject::invokeMethod(this, &Logger::noteWaiting, Qt::QueuedConnection); });
    m_recorder.writer().setOnFragment([this](const QString &file, const Fragment &fragment) {
        const QString notice = fragmentNotice(file, fragment);
        QMetaObject::invokeMethod(
            this, [this, notice] { Q_EMIT fragmentCut(notice); }, Qt::QueuedConnection);
    });
}

Logger::~Logger()
{
    m_recorder.writer().setOnChange({});
    m_recorder.writer().setOnFragment({});
    if (m_publisher)
        m_publisher->disconnect(this);
    if (m_source)
        m_source->close();
}

QDateTime Logger::now() const
{
    return m_services.clock.localNow();
}

QString Logger::sourceProblem() const
{
    return m_source ? m_source->problem() : QString();
}

void Logger::startUp(const Overrides &overrides, Reading reading)
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

    m_reading = reading;
    openSource(m_settings.source);
    if (m_reading == Reading::Readout)
        m_readoutTimer.start();
}

void Logger::openSource(SourceKind kind)
{
    if (m_source)
        m_source->close();
    // The keyboard is no device: its source reads the test value kept here.
    if (kind == SourceKind::Keyboard)
        m_source = std::make_unique<KeyboardSource>(m_testValue);
    else
        m_source = m_services.sources.make(kind);
    m_source->open();
    m_readout = {};
    if (m_reading == Reading::Samples)
        m_source->follow([this] { onSourceChanged(); });
    careForSource();
}

void Logger::careForSource()
{
    // The window's readout keeps the source's care going all along; without a window it
    // runs only while a device is missing, so nothing wakes the process between samples.
    const int every = m_source->maintenanceIntervalMs();
    const bool due = every > 0 && (m_reading == Reading::Readout || m_source->needsCare());
    if (!due)
        m_maintenanceTimer.stop();
    else if (!m_maintenanceTimer.isActive())
        m_maintenanceTimer.start(every);
}

void Logger::pollSource()
{
    m_readout = m_source->poll();
    Q_EMIT readoutUpdated();
}

void Logger::onSourceChanged()
{
    if (m_ended)
        return;
    m_readout = m_source->latest();
    Q_EMIT readoutUpdated();
    careForSource();
}

void Logger::save()
{
    // In order with the other saves; only what the window shows waits for the outcome.
    m_disk.post([this, settings = m_stored] {
        const SettingsFile::Saved saved = m_services.settingsFile.save(settings);
        QMetaObject::invokeMethod(
            this, [this, saved] { onSaved(saved.ok, saved.message); }, Qt::QueuedConnection);
    });
}

void Logger::onSaved(bool ok, const QString &message)
{
    if (ok) {
        m_saveFailureTold = false;
    } else if (!m_saveFailureTold) {
        m_saveFailureTold = true;
        Q_EMIT settingsNotSaved(message);
    }
}

void Logger::checkRescueFolder()
{
    m_disk.post([this] {
        const FolderCheck check = firstWritableFolder(m_services.files, m_services.rescueFolders);
        QMetaObject::invokeMethod(
            this, [this, check] { Q_EMIT rescueFolderChecked(check); }, Qt::QueuedConnection);
    });
}

void Logger::startRecording()
{
    if (m_ended || recording())
        return;
    m_recordedIntoNewFile = true;
    m_testValue.reset();
    m_recorder.start(samplingPlan(m_settings.interval), m_settings.recordingFile);
    m_sampleTimer.start(TickSchedule::FirstTickMs);
    // The readout ticks from the start: a window's light, which blinks with it, comes on
    // half a second after the press, and each sample finds a readout just before it.
    if (m_readoutTimer.isActive())
        m_readoutTimer.start();
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

void Logger::pressTestKey(QChar key)
{
    if (key == u'+')
        m_testValue.increase();
    else if (key == u'-')
        m_testValue.decrease();
}

void Logger::onSampleTimer()
{
    if (m_ended || !recording())
        return;
    // A sample holds what the device says now: every sample when nobody polls the source
    // between them, and the first one always (not nothing, or an older readout).
    if (m_reading == Reading::Samples || m_recorder.store().count() == 0)
        pollSource();
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
    pollSource();
}

void Logger::onMaintenanceTimer()
{
    if (m_ended)
        return;
    m_source->maintain();
    if (m_reading == Reading::Samples)
        onSourceChanged();
}

void Logger::noteWaiting()
{
    QList<Waiting> now = waiting();
    if (now != m_lastWaiting) {
        m_lastWaiting = std::move(now);
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
    const int forever = std::numeric_limits<int>::max();
    return m_recorder.writer().drain(timeoutMs) && m_disk.waitIdle(timeoutMs < 0 ? forever : timeoutMs);
}

void Logger::useNewRecordingFile(const QString &file)
{
    const QString previous = m_settings.recordingFile;
    m_settings.recordingFile = file;
    m_recordedIntoNewFile = false;
    Q_EMIT recordingFileChanged();
    // On the file's own thread, after what the previous recordings sent it (the same name
    // chosen again is emptied only once their lines are in it).
    m_recorder.writer().create(file, [this, file, previous](int error) {
        QMetaObject::invokeMethod(
            this, [this, file, previous, error] { onCreated(file, previous, error); }, Qt::QueuedConnection);
    });
}

void Logger::onCreated(const QString &file, const QString &previous, int error)
{
    if (m_ended)
        return;
    if (error == 0) {
        m_stored.recordingFile = file;
        save();
        return;
    }
    // Nothing recorded into it yet: back to the file used before. A recording under way keeps
    // its file; its lines wait for it like any that cannot be written.
    const bool current = m_settings.recordingFile == file;
    if (current && !m_recordedIntoNewFile) {
        m_settings.recordingFile = previous;
        Q_EMIT recordingFileChanged();
    }
    Q_EMIT newRecordingFileFailed(file, fileErrorReason(error), m_settings.recordingFile);
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
    // The samples waiting for the broker get their last chance meanwhile.
    if (m_publisher)
        m_publisher->beginEnding();
    QElapsedTimer took;
    took.start();
    ending.rescue = m_recorder.writer().finish(m_services.ending.deadlineMs, m_services.ending.rescueAttemptMs);
    // A save on its way had the same deadline, running meanwhile.
    const qint64 left = std::max<qint64>(0, m_services.ending.deadlineMs - took.elapsed());
    ending.settingsUnsaved = !m_disk.waitIdle(static_cast<int>(left));
    if (m_publisher)
        m_publisher->finish();
    return ending;
}

bool Logger::stuckOnDisk() const
{
    return m_recorder.writer().stuck() || m_disk.busy() || (m_publisher && m_publisher->stuck());
}

void Logger::publishTo(const BrokerAddress &broker)
{
    publishTo(broker, PublishTuning{});
}

void Logger::publishTo(const BrokerAddress &broker, const PublishTuning &tuning)
{
    PublishTuning t = tuning;
    t.endingMs = m_services.ending.deadlineMs; // the last chance ends with the writer's
    m_publisher =
        std::make_unique<Publisher>(broker, Publisher::Services{m_services.files, m_services.rescueFolders}, t);
    Publisher &publisher = *m_publisher;
    publisher.setActivity(recording() ? Publisher::Activity::Recording : Publisher::Activity::Online);
    connect(this, &Logger::recordingStarted, &publisher,
            [&publisher] { publisher.setActivity(Publisher::Activity::Recording); });
    connect(this, &Logger::recordingStopped, &publisher,
            [&publisher] { publisher.setActivity(Publisher::Activity::Stopped); });
    connect(this, &Logger::sampleTaken, &publisher, [this, &publisher](int number) {
        // A recording starts with sample 1 at once, so its date and time name the recording.
        const SampleStore &store = m_recorder.store();
        publisher.add({number, m_settings.source, store.at(number), store.at(1)});
    });
    connect(&publisher, &Publisher::changed, this, &Logger::publishingChanged);
    connect(&publisher, &Publisher::notice, this, [this](const QString &text) {
        // What the end says comes once the caller of shutDown() has said its own.
        if (m_ended)
            QMetaObject::invokeMethod(
                this, [this, text] { Q_EMIT publishingNotice(text); }, Qt::QueuedConnection);
        else
            Q_EMIT publishingNotice(text);
    });
    publisher.start();
    Q_EMIT publishingChanged();
}

QString Logger::publishingSummary() const
{
    return m_publisher ? m_publisher->summary() : QString();
}

QStringList Logger::Ending::messages() const
{
    QStringList out;
    for (const QString &file : rescue.files) {
        QString text =
            QStringLiteral("des mesures qui n'ont pas pu être écrites sont gardées dans %1").arg(displayableName(file));
        if (rescue.mayRepeat)
            text += QStringLiteral(" ; les dernières peuvent se trouver aussi dans le fichier d'enregistrement "
                                   "(leurs numéros et heures le montrent)");
        out << text;
    }
    if (rescue.lost > 0)
        out << QStringLiteral("%1 mesure(s) perdues : elles devaient aller dans %2, et aucun dossier de secours n'a pu "
                              "les recevoir (%3)")
                   .arg(rescue.lost)
                   .arg(shownList(rescue.lostFrom), rescue.reason);
    if (settingsUnsaved)
        out << QStringLiteral("les derniers réglages n'ont peut-être pas été enregistrés : le disque ne répond pas");
    return out;
}

QStringList Logger::rescuedEarlierNotices() const
{
    QStringList rescued, fragments;
    for (const QString &path : m_rescuedEarlier)
        (QFileInfo(path).fileName().startsWith(QLatin1String(kFragmentPrefix)) ? fragments : rescued) << path;
    QStringList out;
    if (!rescued.isEmpty())
        out << QStringLiteral("des mesures qui n'avaient pas pu être écrites pendant une séance précédente ont été "
                              "gardées dans %1 ; les dernières peuvent se trouver aussi dans le fichier "
                              "d'enregistrement (leurs numéros et heures le montrent)")
                   .arg(shownList(rescued));
    if (!fragments.isEmpty())
        out << QStringLiteral("un morceau de ligne incomplète retiré d'un fichier d'enregistrement a été gardé dans %1")
                   .arg(shownList(fragments));
    return out;
}

} // namespace orv
