// SPDX-License-Identifier: GPL-3.0-or-later
#include "publishing/Publisher.h"

#include "publishing/UnpublishedFile.h"

#include "core/FileSystem.h"
#include "core/Texts.h"

#include <QDir>
#include <QSysInfo>

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orv {

namespace {

QString lostText(const UnpublishedFile::Kept &k)
{
    return QStringLiteral("%1 mesure(s) non publiées n'ont pu être gardées (%2) ; le fichier d'enregistrement les "
                          "a toutes")
        .arg(k.lost)
        .arg(k.reason);
}

using Steady = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Samples handed to the library and not yet acknowledged, at most: enough to fill a link,
// few enough that a broker that never answers holds little of the library's memory.
constexpr int kInFlight = 20;

// What went wrong, each told once until the connection is made again.
enum class Trouble { UnknownHost, Refused, NoAnswer, Dropped, Credentials, Tls, Other, Count };

QString troubleText(Trouble trouble, const BrokerAddress &broker, int code)
{
    const QString where = broker.where();
    QString text;
    switch (trouble) {
    case Trouble::UnknownHost:
        text = QStringLiteral("le serveur MQTT « %1 » est introuvable : ce nom ne désigne aucune machine connue")
                   .arg(broker.host);
        break;
    case Trouble::Refused:
        text = QStringLiteral("le serveur MQTT %1 refuse la connexion : aucun serveur n'écoute à cette adresse")
                   .arg(where);
        break;
    case Trouble::NoAnswer: text = QStringLiteral("le serveur MQTT %1 ne répond pas").arg(where); break;
    case Trouble::Dropped: text = QStringLiteral("le serveur MQTT %1 a coupé la connexion").arg(where); break;
    case Trouble::Credentials:
        text = QStringLiteral("le serveur MQTT %1 refuse l'identifiant ou le mot de passe (voir %2)")
                   .arg(where, QDir::toNativeSeparators(credentialsFile()));
        break;
    case Trouble::Tls:
        text = QStringLiteral("la connexion chiffrée (TLS) avec le serveur MQTT %1 a échoué : certificat non "
                              "reconnu ou serveur sans TLS")
                   .arg(where);
        break;
    case Trouble::Other:
    case Trouble::Count: text = QStringLiteral("le serveur MQTT %1 refuse la connexion (code %2)").arg(where).arg(code);
    }
    return text + QStringLiteral(" ; l'enregistrement continue, les mesures attendent d'être publiées");
}

Trouble fromErrno(int error)
{
    switch (error) {
    case ECONNREFUSED: return Trouble::Refused;
    case ETIMEDOUT:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ENETUNREACH:
    case ENETDOWN: return Trouble::NoAnswer;
    case ECONNRESET:
    case EPIPE: return Trouble::Dropped;
    default: return Trouble::Other;
    }
}

QByteArray activityText(Publisher::Activity activity)
{
    switch (activity) {
    case Publisher::Activity::Online: return QByteArrayLiteral("en ligne");
    case Publisher::Activity::Recording: return QByteArrayLiteral("enregistre");
    case Publisher::Activity::Stopped: return QByteArrayLiteral("arrêté");
    }
    return {};
}

const QByteArray kOffline = QByteArrayLiteral("hors ligne");

// An id of its own per run: two runs with one id would keep pushing each other off the broker.
QByteArray clientId()
{
    return (QStringLiteral("orvalin-%1-").arg(::getpid()) + QSysInfo::machineHostName()).toUtf8().left(23);
}

int msUntil(Steady::time_point when)
{
    const auto left = std::chrono::duration_cast<milliseconds>(when - Steady::now()).count();
    return static_cast<int>(std::clamp<qint64>(left, 0, 24 * 3600 * 1000));
}

} // namespace

// What the sampling path, the client thread and finish() share, under the mutex unless said.
struct Publisher::Shared {
    Shared(BrokerAddress address, Services services, Tuning t)
        : broker(std::move(address))
        , tuning(t)
        , file(services.files, std::move(services.rescueFolders))
    {
    }

    const BrokerAddress broker;
    const Tuning tuning;
    int wakeFd = -1; // the client thread's poll wakes on it

    mutable std::mutex mutex;
    std::condition_variable progress; // acknowledgements, the link, the thread's end
    struct Entry {
        quint64 seq;
        SampleMessage message;
    };
    std::deque<Entry> queue; // oldest first, until acknowledged
    quint64 nextSeq = 1;
    std::vector<SampleMessage> overflow; // pushed out of a full queue, for the thread to keep
    Activity activity = Activity::Online;
    bool activityDirty = true; // not yet sent on this connection
    bool ending = false;       // finish() runs: the state is "hors ligne"
    bool stopping = false;     // the thread ends now
    bool stopped = false;
    enum class Link { Down, Connecting, Up } link = Link::Down;
    bool settled = false; // up, and everything sent is acknowledged
    bool overflowTold = false;
    QString trouble; // the last told, while not connected
    Publisher *owner = nullptr;

    // Only while connected does a new sample need the thread at once.
    std::atomic<bool> threadWantsSamples{false};
    std::atomic<bool> changePosted{false};

    std::mutex fileMutex; // the file is written by the thread, then at the end
    UnpublishedFile file;
    // Under the mutex: what the file holds.
    QString keptIn;
    int kept = 0;
    int lost = 0;

    void wake() const
    {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd, &one, sizeof one);
    }
    // From any thread, under the mutex.
    void tell(const QString &text)
    {
        if (Publisher *p = owner)
            QMetaObject::invokeMethod(
                p, [p, text] { Q_EMIT p->notice(text); }, Qt::QueuedConnection);
    }
    void postChanged()
    {
        Publisher *p = owner;
        if (p && !changePosted.exchange(true))
            QMetaObject::invokeMethod(
                p,
                [p] {
                    p->m_shared->changePosted = false;
                    Q_EMIT p->changed();
                },
                Qt::QueuedConnection);
    }
    // Keeps samples in the file; the caller holds fileMutex.
    UnpublishedFile::Kept keep(const std::vector<SampleMessage> &samples)
    {
        if (samples.empty())
            return {};
        const UnpublishedFile::Kept k = file.keep(samples);
        std::lock_guard lock(mutex);
        keptIn = QDir::toNativeSeparators(file.path());
        kept += k.lines;
        lost += k.lost;
        return k;
    }
};

// The thread that owns the libmosquitto client: connects, backs off, hands the queue over
// in order and drops what the broker acknowledges. Every libmosquitto call is made here.
class Publisher::Client {
public:
    explicit Client(std::shared_ptr<Shared> shared)
        : m_shared(std::move(shared))
        , m_tuning(m_shared->tuning)
        , m_backoffMs(m_tuning.firstRetryMs)
        , m_id(clientId())
        , m_sampleTopic(m_shared->broker.topic("mesure").toUtf8())
        , m_latestTopic(m_shared->broker.topic("dernier").toUtf8())
        , m_stateTopic(m_shared->broker.topic("etat").toUtf8())
    {
    }

    void run()
    {
        while (!stopping()) {
            keepOverflow();
            if (m_open)
                serve();
            else if (Steady::now() >= m_retryAt && !ending())
                connect();
            else
                waitForWake(ending() ? -1 : msUntil(m_retryAt));
        }
        close();
        std::lock_guard lock(m_shared->mutex);
        m_shared->stopped = true;
        m_shared->progress.notify_all();
    }

private:
    bool stopping() const
    {
        std::lock_guard lock(m_shared->mutex);
        return m_shared->stopping;
    }
    bool ending() const
    {
        std::lock_guard lock(m_shared->mutex);
        return m_shared->ending;
    }

    void setLink(Shared::Link link)
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->link = link;
        m_shared->settled = false;
        m_shared->threadWantsSamples = link == Shared::Link::Up;
        m_shared->progress.notify_all();
        m_shared->postChanged();
    }

    void connect()
    {
        const BrokerAddress &b = m_shared->broker;
        // A fresh client per connection: nothing the library kept of the last one is sent
        // again behind our back, so the queue alone decides the order.
        if (m_mosq)
            mosquitto_reinitialise(m_mosq, m_id.constData(), true, this);
        else
            m_mosq = mosquitto_new(m_id.constData(), true, this);
        mosquitto_connect_callback_set(m_mosq, &Client::onConnect);
        mosquitto_publish_callback_set(m_mosq, &Client::onPublish);
        mosquitto_will_set(m_mosq, m_stateTopic.constData(), static_cast<int>(kOffline.size()), kOffline.constData(), 1,
                           true);
        if (!b.user.isEmpty())
            mosquitto_username_pw_set(m_mosq, b.user.toUtf8().constData(), b.password.toUtf8().constData());
        if (b.tls) {
            if (b.caFile.isEmpty())
                mosquitto_int_option(m_mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
            else
                mosquitto_tls_set(m_mosq, QFile::encodeName(b.caFile).constData(), nullptr, nullptr, nullptr, nullptr);
        }
        m_refusal = -1;
        m_up = false;
        errno = 0;
        const int rc = mosquitto_connect_async(m_mosq, b.host.toUtf8().constData(), b.port, m_tuning.keepAliveS);
        if (rc != MOSQ_ERR_SUCCESS) {
            failToStart(rc, errno);
            return;
        }
        m_open = true;
        m_connectDeadline = Steady::now() + milliseconds(m_tuning.connectTimeoutMs);
        setLink(Shared::Link::Connecting);
    }

    // One round while the socket is open: hand samples over, wait for the socket, the
    // wake-up or the keep-alive, and let the library read and write.
    void serve()
    {
        if (m_up)
            handOver();
        const int sock = mosquitto_socket(m_mosq);
        pollfd fds[2] = {{m_shared->wakeFd, POLLIN, 0},
                         {sock, static_cast<short>(POLLIN | (mosquitto_want_write(m_mosq) ? POLLOUT : 0)), 0}};
        // Connected and idle, the thread sleeps until a keep-alive ping is due: about once a minute.
        const Steady::time_point due =
            m_up ? std::min(m_lastIn, m_lastOut) + std::chrono::seconds(m_tuning.keepAliveS) + milliseconds(10)
                 : m_connectDeadline;
        const int n = ::poll(fds, 2, msUntil(due));
        if (n < 0 && errno != EINTR)
            return lose(MOSQ_ERR_ERRNO, errno);
        if (fds[0].revents & POLLIN)
            drainWake();
        const short ready = fds[1].revents;
        if (!m_up && (ready & (POLLERR | POLLHUP))) {
            // The connection attempt failed: the socket says why before the library closes it.
            int error = 0;
            socklen_t size = sizeof error;
            ::getsockopt(sock, SOL_SOCKET, SO_ERROR, &error, &size);
            if (error != 0)
                return lose(MOSQ_ERR_ERRNO, error);
        }
        int rc = MOSQ_ERR_SUCCESS;
        const Steady::time_point now = Steady::now();
        if (ready & (POLLIN | POLLERR | POLLHUP)) {
            rc = mosquitto_loop_read(m_mosq, 1);
            m_lastIn = now;
        }
        if (rc == MOSQ_ERR_SUCCESS && (ready & POLLOUT)) {
            rc = mosquitto_loop_write(m_mosq, 1);
            m_lastOut = now;
        }
        if (rc == MOSQ_ERR_SUCCESS && m_up && now >= due) {
            // The library pings now; its clock and ours then agree again.
            rc = mosquitto_loop_misc(m_mosq);
            m_lastIn = m_lastOut = now;
        }
        if (rc != MOSQ_ERR_SUCCESS)
            return lose(rc, errno);
        if (!m_up && now >= m_connectDeadline)
            lose(MOSQ_ERR_ERRNO, ETIMEDOUT);
    }

    void handOver()
    {
        std::vector<Shared::Entry> batch;
        std::optional<QByteArray> state;
        quint64 newest = 0;
        bool ending = false;
        {
            std::lock_guard lock(m_shared->mutex);
            int room = kInFlight - static_cast<int>(m_samplesInFlight.size());
            bool more = false;
            for (const Shared::Entry &entry : m_shared->queue) {
                if (entry.seq < m_nextToHand)
                    continue; // handed over, not yet acknowledged
                if (room == 0) {
                    more = true;
                    break;
                }
                batch.push_back(entry);
                --room;
            }
            newest = m_shared->queue.empty() ? 0 : m_shared->queue.back().seq;
            ending = m_shared->ending;
            // "hors ligne" comes after the last samples, any other state before the next ones.
            if (m_shared->activityDirty && !(ending && more)) {
                state = ending ? kOffline : activityText(m_shared->activity);
                m_shared->activityDirty = false;
            }
        }
        int mid = 0;
        if (state && !ending && publish(&mid, m_stateTopic, *state, true))
            m_othersInFlight.push_back(mid);
        for (const Shared::Entry &entry : batch) {
            const QByteArray json = sampleJson(entry.message);
            if (!publish(&mid, m_sampleTopic, json, false))
                break;
            m_samplesInFlight.push_back({mid, entry.seq});
            m_nextToHand = entry.seq + 1;
            // Only the newest is the latest: a backlog going out does not rewrite it each time.
            if (entry.seq == newest && publish(&mid, m_latestTopic, json, true))
                m_othersInFlight.push_back(mid);
        }
        if (state && ending && publish(&mid, m_stateTopic, *state, true))
            m_othersInFlight.push_back(mid);
        if (state || !batch.empty())
            noteSettled();
    }

    bool publish(int *mid, const QByteArray &topic, const QByteArray &payload, bool retain)
    {
        m_lastOut = Steady::now();
        return mosquitto_publish(m_mosq, mid, topic.constData(), static_cast<int>(payload.size()), payload.constData(),
                                 1, retain)
               == MOSQ_ERR_SUCCESS;
    }

    static void onConnect(mosquitto *, void *self, int code) { static_cast<Client *>(self)->connected(code); }
    static void onPublish(mosquitto *, void *self, int mid) { static_cast<Client *>(self)->acknowledged(mid); }

    void connected(int code)
    {
        if (code != 0) {
            m_refusal = code; // the library reports the refusal from the read that follows
            return;
        }
        m_up = true;
        m_backoffMs = m_tuning.firstRetryMs;
        m_lastIn = m_lastOut = Steady::now();
        const bool first = !m_everUp;
        m_everUp = true;
        m_told.fill(false);
        {
            std::lock_guard lock(m_shared->mutex);
            m_nextToHand = m_shared->queue.empty() ? m_shared->nextSeq : m_shared->queue.front().seq;
            m_shared->activityDirty = true; // the will may have replaced it meanwhile
            m_shared->trouble.clear();
            m_shared->tell(first ? QStringLiteral("publication des mesures sur le serveur MQTT %1, sujets %2/…")
                                       .arg(m_shared->broker.where(), m_shared->broker.topicPrefix)
                                 : QStringLiteral("le serveur MQTT %1 répond de nouveau : les mesures en attente "
                                                  "sont publiées")
                                       .arg(m_shared->broker.where()));
        }
        setLink(Shared::Link::Up);
    }

    void acknowledged(int mid)
    {
        const auto sample = std::find_if(m_samplesInFlight.begin(), m_samplesInFlight.end(),
                                         [mid](const auto &m) { return m.first == mid; });
        if (sample != m_samplesInFlight.end()) {
            const quint64 seq = sample->second;
            m_samplesInFlight.erase(sample);
            std::lock_guard lock(m_shared->mutex);
            // Usually the oldest; one pushed out to the file meanwhile is simply not there.
            const auto it = std::find_if(m_shared->queue.begin(), m_shared->queue.end(),
                                         [seq](const Shared::Entry &e) { return e.seq == seq; });
            if (it != m_shared->queue.end())
                m_shared->queue.erase(it);
            m_shared->overflowTold = false;
            m_shared->postChanged();
        } else {
            std::erase(m_othersInFlight, mid);
        }
        noteSettled();
    }

    void noteSettled()
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->settled = m_up && m_shared->queue.empty() && m_samplesInFlight.empty() && m_othersInFlight.empty()
                            && !m_shared->activityDirty;
        m_shared->progress.notify_all();
    }

    void lose(int rc, int error)
    {
        Trouble trouble = Trouble::Other;
        int code = rc;
        const bool dropped = rc == MOSQ_ERR_CONN_LOST || rc == MOSQ_ERR_PROTOCOL || rc == MOSQ_ERR_NO_CONN
                             || (rc == MOSQ_ERR_ERRNO && fromErrno(error) == Trouble::Dropped);
        if (m_up)
            trouble = rc == MOSQ_ERR_TLS ? Trouble::Tls : Trouble::Dropped;
        else if (rc == MOSQ_ERR_TLS || (dropped && m_shared->broker.tls))
            trouble = Trouble::Tls; // a server without TLS, or one that refused the handshake, hangs up
        else if (rc == MOSQ_ERR_CONN_REFUSED
                 && (m_refusal == CONNACK_REFUSED_BAD_USERNAME_PASSWORD || m_refusal == CONNACK_REFUSED_NOT_AUTHORIZED))
            trouble = Trouble::Credentials;
        else if (rc == MOSQ_ERR_CONN_REFUSED)
            code = m_refusal;
        else if (rc == MOSQ_ERR_ERRNO)
            trouble = fromErrno(error);
        else if (dropped)
            trouble = Trouble::Dropped;
        // Nothing of this connection is kept: the socket closes now, the library forgets.
        mosquitto_reinitialise(m_mosq, m_id.constData(), true, this);
        m_open = false;
        m_up = false;
        m_samplesInFlight.clear();
        m_othersInFlight.clear();
        fail(trouble, code);
    }
    void failToStart(int rc, int error)
    {
        if (rc == MOSQ_ERR_EAI)
            fail(Trouble::UnknownHost, rc);
        else if (rc == MOSQ_ERR_ERRNO)
            fail(fromErrno(error), rc);
        else
            fail(Trouble::Other, rc);
    }
    void fail(Trouble trouble, int code)
    {
        m_retryAt = Steady::now() + milliseconds(m_backoffMs);
        m_backoffMs = std::min(2 * m_backoffMs, m_tuning.lastRetryMs);
        setLink(Shared::Link::Down);
        bool &told = m_told[static_cast<std::size_t>(trouble)];
        if (told)
            return;
        told = true;
        std::lock_guard lock(m_shared->mutex);
        m_shared->trouble = troubleText(trouble, m_shared->broker, code);
        m_shared->tell(m_shared->trouble);
        m_shared->postChanged();
    }

    void keepOverflow()
    {
        std::vector<SampleMessage> samples;
        bool tell = false;
        {
            std::lock_guard lock(m_shared->mutex);
            samples.swap(m_shared->overflow);
            tell = !samples.empty() && !m_shared->overflowTold;
            m_shared->overflowTold = m_shared->overflowTold || !samples.empty();
        }
        if (samples.empty())
            return;
        std::unique_lock file(m_shared->fileMutex);
        const UnpublishedFile::Kept k = m_shared->keep(samples);
        file.unlock();
        std::lock_guard lock(m_shared->mutex);
        if (k.lost > 0)
            m_shared->tell(lostText(k));
        else if (tell)
            m_shared->tell(QStringLiteral("le serveur MQTT %1 n'accuse pas réception des mesures et %2 attendent déjà "
                                          ": les plus anciennes sont gardées dans %3 (le fichier d'enregistrement "
                                          "les a toutes)")
                               .arg(m_shared->broker.where())
                               .arg(m_tuning.queueBound)
                               .arg(m_shared->keptIn));
        m_shared->postChanged();
    }

    void waitForWake(int timeoutMs)
    {
        pollfd fd{m_shared->wakeFd, POLLIN, 0};
        if (::poll(&fd, 1, timeoutMs) > 0)
            drainWake();
    }
    void drainWake()
    {
        quint64 count = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_shared->wakeFd, &count, sizeof count);
    }

    void close()
    {
        if (!m_mosq)
            return;
        // Everything acknowledged, "hors ligne" included: a clean goodbye. Otherwise the
        // broker sees the connection drop and publishes the last will, "hors ligne" too.
        bool settled = false;
        {
            std::lock_guard lock(m_shared->mutex);
            settled = m_shared->settled;
        }
        if (m_up && settled) {
            mosquitto_disconnect(m_mosq);
            mosquitto_loop_write(m_mosq, 1);
        }
        mosquitto_destroy(m_mosq);
        m_mosq = nullptr;
    }

    std::shared_ptr<Shared> m_shared;
    const Tuning m_tuning;
    mosquitto *m_mosq = nullptr;
    bool m_open = false; // a connection is being made or is made
    bool m_up = false;   // the broker accepted it
    bool m_everUp = false;
    int m_refusal = -1; // the broker's refusal code
    int m_backoffMs;
    std::array<bool, static_cast<std::size_t>(Trouble::Count)> m_told{};
    Steady::time_point m_retryAt{};
    Steady::time_point m_connectDeadline{};
    Steady::time_point m_lastIn{};
    Steady::time_point m_lastOut{};
    quint64 m_nextToHand = 0;                               // queue entries before this one are handed over
    std::vector<std::pair<int, quint64>> m_samplesInFlight; // message id, queue entry
    std::vector<int> m_othersInFlight;                      // state and latest
    const QByteArray m_id;
    const QByteArray m_sampleTopic;
    const QByteArray m_latestTopic;
    const QByteArray m_stateTopic;
};

Publisher::Publisher(BrokerAddress broker, Services services, Tuning tuning, QObject *parent)
    : QObject(parent)
    , m_shared(std::make_shared<Shared>(std::move(broker), std::move(services), tuning))
{
    // Never undone: the library's global state may serve another client in this process.
    mosquitto_lib_init();
    m_shared->wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_shared->owner = this;
}

void Publisher::start()
{
    if (!m_thread.joinable() && !m_finished)
        m_thread = std::thread([shared = m_shared] { Client(shared).run(); });
}

Publisher::~Publisher()
{
    finish();
}

void Publisher::add(const SampleMessage &message)
{
    bool wake = false;
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->ending)
            return;
        m_shared->queue.push_back({m_shared->nextSeq++, message});
        const int bound = std::max(1, m_shared->tuning.queueBound);
        if (static_cast<int>(m_shared->queue.size()) > bound) {
            // The oldest go to the file in a batch, so the disk is met now and then, not per sample.
            const int batch = std::max(1, bound / 16);
            for (int i = 0; i < batch; ++i) {
                m_shared->overflow.push_back(std::move(m_shared->queue.front().message));
                m_shared->queue.pop_front();
            }
            wake = true;
        }
        wake = wake || m_shared->threadWantsSamples;
        m_shared->postChanged();
    }
    if (wake)
        m_shared->wake();
}

void Publisher::setActivity(Activity activity)
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->ending || activity == m_shared->activity)
            return;
        m_shared->activity = activity;
        m_shared->activityDirty = true;
    }
    m_shared->wake();
}

void Publisher::beginEnding()
{
    if (m_endingDeadline || m_finished)
        return;
    m_endingDeadline = Steady::now() + milliseconds(m_shared->tuning.endingMs);
    std::lock_guard lock(m_shared->mutex);
    m_shared->ending = true;
    m_shared->activityDirty = true;
    m_shared->settled = false;
    m_shared->wake();
}

// The samples left at the end, on their way to the file on a thread of their own.
struct Publisher::LastKeep {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    UnpublishedFile::Kept kept;
};

Publisher::Ending Publisher::finish()
{
    Ending ending;
    if (m_finished)
        return ending;
    beginEnding();
    m_finished = true;
    std::unique_lock lock(m_shared->mutex);
    // While the broker is there (or about to be), the waiting samples and "hors ligne" go out.
    m_shared->progress.wait_until(lock, *m_endingDeadline, [this] {
        return m_shared->link == Shared::Link::Down || (m_shared->link == Shared::Link::Up && m_shared->settled);
    });
    m_shared->stopping = true;
    m_shared->owner = nullptr; // nothing more is posted to this object
    m_shared->wake();
    // The thread leaves at once unless the system holds it (a name lookup); then it is left
    // behind, holding only what it shares, and the program ends all the same.
    const bool stopped = !m_thread.joinable() || m_shared->progress.wait_for(lock, std::chrono::seconds(1), [this] {
        return m_shared->stopped;
    });
    std::vector<SampleMessage> left = std::move(m_shared->overflow);
    m_shared->overflow.clear();
    for (Shared::Entry &entry : m_shared->queue)
        left.push_back(std::move(entry.message));
    m_shared->queue.clear();
    lock.unlock();
    if (stopped) {
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_shared->wakeFd);
    } else {
        m_thread.detach();
    }

    // Kept off this thread: a disk that does not answer holds back that thread, not the end.
    UnpublishedFile::Kept k;
    if (!left.empty()) {
        m_lastKeep = std::make_shared<LastKeep>();
        const int count = static_cast<int>(left.size());
        std::thread([shared = m_shared, keep = m_lastKeep, left = std::move(left)] {
            std::unique_lock file(shared->fileMutex);
            const UnpublishedFile::Kept kept = shared->keep(left);
            std::lock_guard done(keep->mutex);
            keep->kept = kept;
            keep->finished = true;
            keep->done.notify_all();
        }).detach();
        std::unique_lock wait(m_lastKeep->mutex);
        if (m_lastKeep->done.wait_for(wait, std::chrono::seconds(1), [this] { return m_lastKeep->finished; })) {
            k = m_lastKeep->kept;
        } else {
            k.lost = count;
            k.reason = fileErrorReason(ETIMEDOUT);
            std::lock_guard counts(m_shared->mutex);
            m_shared->lost += count;
        }
    }
    lock.lock();
    ending.file = m_shared->keptIn;
    ending.kept = m_shared->kept;
    ending.lost = m_shared->lost;
    lock.unlock();
    if (k.lost > 0)
        Q_EMIT notice(lostText(k));
    if (ending.kept > 0)
        Q_EMIT notice(QStringLiteral("%1 mesure(s) non publiées sur le serveur MQTT sont gardées dans %2 (le fichier "
                                     "d'enregistrement les a toutes)")
                          .arg(ending.kept)
                          .arg(ending.file));
    return ending;
}

bool Publisher::stuck() const
{
    if (!m_lastKeep)
        return false;
    std::lock_guard lock(m_lastKeep->mutex);
    return !m_lastKeep->finished;
}

QString Publisher::summary() const
{
    std::lock_guard lock(m_shared->mutex);
    const BrokerAddress &b = m_shared->broker;
    QString text = QStringLiteral("Publication MQTT sur %1, sujets %2/…\n").arg(b.where(), b.topicPrefix);
    if (m_shared->link == Shared::Link::Up)
        text += QStringLiteral("Connectée.");
    else if (!m_shared->trouble.isEmpty())
        text += asSentence(m_shared->trouble);
    else
        text += QStringLiteral("Connexion en cours.");
    const qsizetype waiting = m_shared->queue.size();
    if (waiting > 0)
        text += QStringLiteral("\n%1 mesure(s) en attente de publication.").arg(waiting);
    if (m_shared->kept > 0)
        text +=
            QStringLiteral("\n%1 mesure(s) non publiées gardées dans %2.").arg(m_shared->kept).arg(m_shared->keptIn);
    return text;
}

} // namespace orv
