// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "core/FileNames.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>

#include <array>
#include <utility>

namespace orv {

namespace {

// The ten intervals and three sources as the command line writes them.
constexpr std::array<std::pair<const char *, Interval>, 10> kIntervals = {{
    {"1s", Interval::Second1},
    {"10s", Interval::Seconds10},
    {"1min", Interval::Minute1},
    {"15min", Interval::Minutes15},
    {"30min", Interval::Minutes30},
    {"1h", Interval::Hour1},
    {"3h", Interval::Hours3},
    {"6h", Interval::Hours6},
    {"12h", Interval::Hours12},
    {"24h", Interval::Hours24},
}};
constexpr std::array<std::pair<const char *, SourceKind>, 3> kSources = {{
    {"test", SourceKind::Keyboard},
    {"usb", SourceKind::Board},
    {"serie", SourceKind::Serial},
}};

template <typename T, std::size_t N>
std::optional<T> lookUp(const std::array<std::pair<const char *, T>, N> &table, const QString &word)
{
    for (const auto &[name, value] : table)
        if (word == QLatin1String(name))
            return value;
    return std::nullopt;
}

template <typename T, std::size_t N>
QString names(const std::array<std::pair<const char *, T>, N> &table)
{
    QStringList out;
    for (const auto &entry : table)
        out << QLatin1String(entry.first);
    return out.join(QLatin1Char(' '));
}

CommandLine refuse(const QString &why)
{
    CommandLine c;
    c.action = CommandLine::Action::Refuse;
    c.error = QStringLiteral("orvalin : %1 (voir orvalin --help)").arg(why);
    return c;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption record(QStringLiteral("record"), QString());
    const QCommandLineOption headless(QStringLiteral("headless"), QString());
    const QCommandLineOption interval(QStringLiteral("interval"), QString(), QStringLiteral("durée"));
    const QCommandLineOption source(QStringLiteral("source"), QString(), QStringLiteral("source"));
    const QCommandLineOption file(QStringLiteral("file"), QString(), QStringLiteral("fichier"));
    const QCommandLineOption mqtt(QStringLiteral("mqtt"), QString(), QStringLiteral("adresse"));
    const QCommandLineOption mqttCa(QStringLiteral("mqtt-ca"), QString(), QStringLiteral("fichier"));
    const QCommandLineOption exportFile(QStringLiteral("export"), QString(), QStringLiteral("fichier"));
    const QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("sortie"));
    const QCommandLineOption size(QStringLiteral("size"), QString(), QStringLiteral("taille"));
    parser.addOptions(
        {help, version, record, headless, interval, source, file, mqtt, mqttCa, exportFile, output, size});

    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString name = parser.unknownOptionNames().constFirst();
            return refuse(
                QStringLiteral("option inconnue « %1%2 »").arg(name.size() == 1 ? "-" : "--", displayableName(name)));
        }
        return refuse(QStringLiteral("une option attend une valeur"));
    }
    CommandLine c;
    if (parser.isSet(help)) {
        c.action = CommandLine::Action::ShowHelp;
        return c;
    }
    if (parser.isSet(version)) {
        c.action = CommandLine::Action::ShowVersion;
        return c;
    }
    const QStringList files = parser.positionalArguments();
    const bool recorderOptions = parser.isSet(record) || parser.isSet(headless) || parser.isSet(interval)
                                 || parser.isSet(source) || parser.isSet(file) || parser.isSet(mqtt)
                                 || parser.isSet(mqttCa);
    if (parser.isSet(exportFile)) {
        if (recorderOptions || !files.isEmpty())
            return refuse(QStringLiteral("--export s'utilise seul, avec --output et --size"));
        if (!parser.isSet(output))
            return refuse(QStringLiteral("--export demande --output SORTIE (.xlsx, .png ou .svg)"));
        c.exportFile = parser.value(exportFile);
        c.exportOutput = parser.value(output);
        const QString suffix = QFileInfo(c.exportOutput).suffix().toLower();
        if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
            return refuse(QStringLiteral("format de « %1 » inconnu ; au choix : .xlsx .png .svg")
                              .arg(displayableName(c.exportOutput)));
        if (parser.isSet(size)) {
            static const QRegularExpression pattern(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"));
            const QRegularExpressionMatch m = pattern.match(parser.value(size));
            c.exportSize = QSize(m.captured(1).toInt(), m.captured(2).toInt());
            if (!m.hasMatch() || c.exportSize.width() < 16 || c.exportSize.height() < 16 || c.exportSize.width() > 10000
                || c.exportSize.height() > 10000)
                return refuse(QStringLiteral("taille « %1 » refusée : LARGEURxHAUTEUR, de 16 à 10000 pixels, "
                                             "par exemple 1600x900")
                                  .arg(parser.value(size)));
        }
        c.action = CommandLine::Action::Export;
        return c;
    }
    if (parser.isSet(output) || parser.isSet(size))
        return refuse(QStringLiteral("--output et --size s'utilisent avec --export"));
    if (!files.isEmpty()) {
        if (recorderOptions)
            return refuse(QStringLiteral("les fichiers à lire s'ouvrent sans option d'enregistrement"));
        c.action = CommandLine::Action::View;
        c.files = files;
        return c;
    }
    c.record = parser.isSet(record);
    c.headless = parser.isSet(headless);
    if (c.headless && !c.record)
        return refuse(QStringLiteral("--headless s'utilise avec --record"));
    if (parser.isSet(interval)) {
        c.overrides.interval = lookUp(kIntervals, parser.value(interval));
        if (!c.overrides.interval)
            return refuse(QStringLiteral("intervalle « %1 » inconnu ; au choix : %2")
                              .arg(displayableName(parser.value(interval)), names(kIntervals)));
    }
    if (parser.isSet(source)) {
        c.overrides.source = lookUp(kSources, parser.value(source));
        if (!c.overrides.source)
            return refuse(QStringLiteral("source « %1 » inconnue ; au choix : %2")
                              .arg(displayableName(parser.value(source)), names(kSources)));
    }
    if (parser.isSet(file)) {
        const QString name = parser.value(file);
        // The settings file could not hold it, and an empty name designates nothing.
        if (name.trimmed().isEmpty() || name.contains(u'"'))
            return refuse(QStringLiteral("nom de fichier « %1 » refusé").arg(displayableName(name)));
        c.overrides.recordingFile = name;
    }
    if (parser.isSet(mqtt)) {
        ParsedBroker parsed = parseBrokerUrl(parser.value(mqtt), QSysInfo::machineHostName());
        if (!parsed.address)
            return refuse(parsed.refusal);
        c.broker = parsed.address;
    }
    if (parser.isSet(mqttCa)) {
        if (!c.broker || !c.broker->tls)
            return refuse(QStringLiteral("--mqtt-ca s'utilise avec une adresse mqtts://"));
        c.broker->caFile = parser.value(mqttCa);
    }
    return c;
}

QString commandLineHelp()
{
    return QStringLiteral("Usage : orvalin [options]\n"
                          "        orvalin FICHIER.csv [FICHIER.csv …]\n"
                          "        orvalin --export FICHIER.csv --output SORTIE [--size LARGEURxHAUTEUR]\n"
                          "Enregistreur de deux mesures analogiques (carte USB K8055, appareil série ou mode test).\n"
                          "Sans option, la fenêtre s'ouvre comme d'habitude.\n"
                          "\n"
                          "Options :\n"
                          "  --record            commence un enregistrement dès le démarrage\n"
                          "  --headless          sans fenêtre ni écran (avec --record) : une ligne par mesure\n"
                          "                      sur la sortie standard ; SIGTERM, SIGINT ou SIGHUP l'arrêtent\n"
                          "  --interval DURÉE    pour cette fois seulement : 1s 10s 1min 15min 30min 1h 3h 6h 12h 24h\n"
                          "  --source SOURCE     pour cette fois seulement : test usb serie\n"
                          "  --file FICHIER      pour cette fois seulement : le fichier d'enregistrement\n"
                          "  --mqtt ADRESSE      publie chaque mesure sur un serveur MQTT :\n"
                          "                      mqtt://serveur[:port][/sujet] ou mqtts://… (chiffré) ;\n"
                          "                      sujet par défaut orvalin/<nom de la machine>\n"
                          "  --mqtt-ca FICHIER   certificats d'autorité pour mqtts:// (sinon ceux du système)\n"
                          "  -h, --help          affiche cette aide\n"
                          "  -v, --version       affiche la version\n"
                          "\n"
                          "Lecture d'enregistrements (sans verrou ni source : possible pendant un enregistrement) :\n"
                          "  FICHIER.csv …       ouvre chaque fichier dans une fenêtre de lecture, qui le suit\n"
                          "                      s'il grandit\n"
                          "  --export FICHIER.csv --output SORTIE\n"
                          "                      exporte sans fenêtre ; le format suit l'extension de SORTIE :\n"
                          "                      .xlsx (classeur), .png ou .svg (graphique de tout le fichier)\n"
                          "  --size LxH          taille de l'image exportée, 1600x900 par défaut\n"
                          "\n"
                          "Les réglages enregistrés ne sont pas modifiés par --interval, --source, --file et --mqtt.\n"
                          "L'identifiant et le mot de passe MQTT éventuels se mettent dans\n"
                          "~/.config/orvalin/mqtt.conf (user = …, password = …), lisible par vous seul.\n"
                          "Codes de sortie : 0 toutes les mesures sont écrites, ou l'export est fait ;\n"
                          "1 export impossible ; 2 commande refusée ;\n"
                          "3 des mesures sont gardées dans un fichier de secours ; 4 des mesures sont perdues.\n");
}

QString versionText()
{
    return QStringLiteral("Orvalin Temps Réel, version %1\n").arg(QStringLiteral(ORVALIN_VERSION));
}

} // namespace orv
