// SPDX-License-Identifier: GPL-3.0-or-later
#include "publishing/BrokerAddress.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

QString BrokerAddress::where() const
{
    return host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]:%2").arg(host).arg(port)
                                           : QStringLiteral("%1:%2").arg(host).arg(port);
}

ParsedBroker parseBrokerUrl(const QString &url, const QString &hostName)
{
    const auto refuse = [&](const QString &why) {
        return ParsedBroker{std::nullopt, QStringLiteral("adresse MQTT « %1 » refusée : %2").arg(url, why)};
    };
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme();
    if (!parsed.isValid() || (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts")))
        return refuse(QStringLiteral("elle s'écrit mqtt://serveur[:port][/sujet] ou mqtts://…"));
    if (parsed.host().isEmpty())
        return refuse(QStringLiteral("le nom du serveur manque"));
    if (!parsed.userInfo().isEmpty())
        return refuse(QStringLiteral("l'identifiant et le mot de passe se mettent dans %1, "
                                     "jamais sur la ligne de commande")
                          .arg(QDir::toNativeSeparators(credentialsFile())));
    // Wildcards only mean something to subscribers; a broker refuses them in a published topic.
    const QString wildcards = QStringLiteral("le sujet ne peut contenir ni « + » ni « # »");
    if (parsed.hasFragment())
        return refuse(wildcards);
    if (parsed.hasQuery())
        return refuse(QStringLiteral("« ? » n'a pas sa place dans l'adresse"));

    BrokerAddress broker;
    broker.tls = scheme == QLatin1String("mqtts");
    broker.host = parsed.host();
    broker.port = parsed.port(broker.tls ? 8883 : 1883);
    if (broker.port <= 0)
        return refuse(QStringLiteral("le port va de 1 à 65535"));
    QString prefix = parsed.path(QUrl::FullyDecoded);
    while (prefix.startsWith(QLatin1Char('/')))
        prefix.remove(0, 1);
    while (prefix.endsWith(QLatin1Char('/')))
        prefix.chop(1);
    if (prefix.isEmpty())
        prefix = QStringLiteral("orvalin/") + (hostName.isEmpty() ? QStringLiteral("orvalin") : hostName);
    if (prefix.contains(QLatin1Char('+')) || prefix.contains(QLatin1Char('#')))
        return refuse(wildcards);
    broker.topicPrefix = prefix;
    return {broker, {}};
}

QString credentialsFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("mqtt.conf"));
}

QString completeBroker(BrokerAddress &broker, const QString &file)
{
    if (!broker.caFile.isEmpty() && !QFile(broker.caFile).open(QIODevice::ReadOnly))
        return QStringLiteral("le fichier de certificats %1 est illisible")
            .arg(QDir::toNativeSeparators(broker.caFile));

    const QString shown = QDir::toNativeSeparators(file);
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? QString() : QStringLiteral("le fichier d'identifiants %1 est illisible").arg(shown);
    // Checked on the open file, so nothing can be swapped in between.
    struct stat st {};
    QString refusal;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        refusal = QStringLiteral("le fichier d'identifiants %1 n'est pas un fichier ordinaire").arg(shown);
    else if (st.st_uid != ::getuid())
        refusal = QStringLiteral("le fichier d'identifiants %1 appartient à un autre utilisateur : refusé").arg(shown);
    else if ((st.st_mode & (S_IRGRP | S_IROTH)) != 0)
        refusal = QStringLiteral("le fichier d'identifiants %1 est lisible par d'autres utilisateurs : refusé ; "
                                 "rendez-le privé avec « chmod 600 %1 »")
                      .arg(shown);
    QByteArray bytes;
    if (refusal.isEmpty()) {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && bytes.size() < 64 * 1024)
            bytes.append(buffer, n);
    }
    ::close(fd);
    if (!refusal.isEmpty())
        return refusal;

    for (const QByteArray &raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (line.isEmpty() || line.startsWith('#') || equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QString value = QString::fromUtf8(line.mid(equals + 1).trimmed());
        if (key == "user")
            broker.user = value;
        else if (key == "password")
            broker.password = value;
    }
    return {};
}

} // namespace orv
