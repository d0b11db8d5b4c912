#pragma once

#include "core/FileSystem.h"
#include "publishing/Publisher.h"

namespace orv {

class Logger;

// The publisher follows the logger from outside, through its signals: each sample taken
// (named by its recording's first sample), the recording started and stopped.
void followLogger(Publisher &publisher, const Logger &logger);

// Publishing for one run (--mqtt): a publisher on the real disk that follows the logger and
// ends, within its deadline, when this goes.
struct Publishing {
    Publishing(const Logger &logger, const BrokerAddress &broker, const QStringList &rescueFolders,
               PublishTuning tuning = {});

    PosixFileSystem files;
    Publisher publisher;
};

} // namespace orv
