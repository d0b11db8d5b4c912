// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publishing/BrokerAddress.h"
#include "publishing/SampleMessage.h"

#include <QObject>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace orv {

class FileSystem;

// The publisher's pace; tests shorten it.
struct PublishTuning {
    int queueBound = SampleStore::Capacity; // samples waiting for their acknowledgement
    int firstRetryMs = 1000;                // reconnection backs off from this...
    int lastRetryMs = 60000;                // ...to this
    int connectTimeoutMs = 10000;           // no answer by then: the broker does not respond
    int keepAliveS = 60;
    int endingMs = 3000; // the waiting samples' last chance at the end
};

// Publishes each sample to an MQTT broker: <prefix>/mesure as JSON (QoS 1), the latest again
// at <prefix>/dernier (retained), and the program's state at <prefix>/etat (retained; "hors
// ligne" is the connection's last will). libmosquitto runs on a thread of its own; the
// sampling path only copies the sample into a queue, where it waits, in order, until the
// broker acknowledges it. The recording file has every sample whatever happens here.
class Publisher : public QObject {
    Q_OBJECT
public:
    using Tuning = PublishTuning;
    struct Services {
        FileSystem &files;
        QStringList rescueFolders; // where samples never acknowledged are kept, first that takes them
    };
    enum class Activity { Online, Recording, Stopped };

    Publisher(BrokerAddress broker, Services services, Tuning tuning = {}, QObject *parent = nullptr);
    // Ends as finish() does, when it was not called.
    ~Publisher() override;

    // Connects from now on, in the background.
    void start();

    // The sampling path: queues a copy and returns.
    void add(const SampleMessage &message);
    void setActivity(Activity activity);

    // The end begins: from now on, for tuning.endingMs, the waiting samples and then "hors
    // ligne" get their last chance if the broker is there; later samples are ignored.
    // Returns at once, so the last chance runs beside whatever else the end does.
    void beginEnding();
    struct Ending {
        QString file; // where unpublished samples are, if any
        int kept = 0; // unpublished samples kept in it over the whole run
        int lost = 0; // unpublished samples no folder took (the recording file has them)
    };
    // The end, within tuning.endingMs from its beginning (here when beginEnding() was not
    // called) and two seconds more: what still waits goes to the file beside the rescue files.
    Ending finish();
    // What finish() left on its way to a disk that does not answer: the process must end
    // without waiting for it.
    bool stuck() const;

    // In French, for a tooltip: the broker, the connection, the samples waiting.
    QString summary() const;

Q_SIGNALS:
    // French, lower case: the connection made, each kind of trouble once until it is made
    // again, samples kept in a file.
    void notice(const QString &text);
    // What summary() says may have changed.
    void changed();

private:
    struct Shared;
    class Client;
    struct LastKeep;

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    std::optional<std::chrono::steady_clock::time_point> m_endingDeadline;
    std::shared_ptr<LastKeep> m_lastKeep;
    bool m_finished = false;
};

} // namespace orv
