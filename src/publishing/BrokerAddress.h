// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace orv {

// Where the samples are published and how to get in: from --mqtt and --mqtt-ca, then the
// user's credentials file.
struct BrokerAddress {
    QString host;
    int port = 1883;
    bool tls = false;
    QString topicPrefix; // no slash at either end
    QString caFile;      // mqtts only; empty: the system's certificates
    QString user;        // empty: no credentials
    QString password;

    // host:port as messages name the broker
    QString where() const;
    QString topic(const char *leaf) const { return topicPrefix + QLatin1Char('/') + QLatin1String(leaf); }
};

// mqtt://host[:port][/prefix] or mqtts://...; without a prefix, orvalin/<hostName>.
// The address, or the French reason it is refused.
struct ParsedBroker {
    std::optional<BrokerAddress> address;
    QString refusal;
};
ParsedBroker parseBrokerUrl(const QString &url, const QString &hostName);

// The user's credentials file: lines "user = NAME" and "password = SECRET", # comments.
QString credentialsFile();
// Adds the credentials of `file` (none when it does not exist) and checks the CA file.
// Returns the French reason for refusing to start: a credentials file that another user
// could read, an unreadable file.
QString completeBroker(BrokerAddress &broker, const QString &file);

} // namespace orv
