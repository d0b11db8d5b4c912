#include "app/Publishing.h"

#include "app/Logger.h"

namespace orv {

void followLogger(Publisher &publisher, const Logger &logger)
{
    publisher.setActivity(logger.recording() ? Publisher::Activity::Recording : Publisher::Activity::Online);
    QObject::connect(&logger, &Logger::recordingStarted, &publisher,
                     [&publisher] { publisher.setActivity(Publisher::Activity::Recording); });
    QObject::connect(&logger, &Logger::recordingStopped, &publisher,
                     [&publisher] { publisher.setActivity(Publisher::Activity::Stopped); });
    QObject::connect(&logger, &Logger::sampleTaken, &publisher, [&publisher, &logger](int number) {
        // A recording starts with sample 1 at once, so its date and time name the recording.
        const SampleStore &store = logger.recorder().store();
        publisher.add({number, logger.settings().source, store.at(number), store.at(1)});
    });
}

Publishing::Publishing(const Logger &logger, const BrokerAddress &broker, const QStringList &rescueFolders,
                       PublishTuning tuning)
    : publisher(broker, {files, rescueFolders}, tuning)
{
    followLogger(publisher, logger);
    publisher.start();
}

} // namespace orv
