#include "I_Ofichier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <limits>
#include <optional>
#include <unistd.h>
#include <vector>

namespace orv {

namespace {

const QString kDefaultFileName = QStringLiteral("data_tr.csv");
constexpr quint8 kDefaultInterval = 1;
constexpr quint8 kDefaultSource = 0;
constexpr qint16 kDefaultWidth = 3600;

struct Item {
    QByteArray text;
};

// Splits the file into items by the reader's rules.
std::vector<Item> splitItems(const QByteArray &bytes)
{
    std::vector<Item> items;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    auto isLineEnd = [&](qsizetype k) { return bytes[k] == '\r' || bytes[k] == '\n'; };
    while (i < n) {
        // Spaces, and blank lines, before an item are skipped.
        while (i < n && (bytes[i] == ' ' || bytes[i] == '\t' || isLineEnd(i)))
            ++i;
        if (i >= n)
            break;
        Item item;
        if (bytes[i] == '"') {
            const qsizetype close = bytes.indexOf('"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            item.text = bytes.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
            while (i < n && bytes[i] != ',' && !isLineEnd(i))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && bytes[i] != ',' && !isLineEnd(i))
                ++i;
            item.text = bytes.mid(start, i - start).trimmed();
        }
        items.push_back(item);
        if (i < n && bytes[i] == ',')
            ++i;
    }
    return items;
}

std::optional<qint64> parseInteger(const QByteArray &text)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

// A numeric field: the item's value when it is a number within [min, max], else the default.
template <typename T>
void readNumber(const QByteArray *item, qint64 min, qint64 max, T fallback, T &field, bool &clean)
{
    const auto value = item ? parseInteger(*item) : std::nullopt;
    if (value && *value >= min && *value <= max) {
        field = static_cast<T>(*value);
    } else {
        field = fallback;
        clean = false;
    }
}

} // namespace

SettingsRecord defaultSettings()
{
    SettingsRecord r;
    r.fileName = kDefaultFileName;
    r.intervalIndex = kDefaultInterval;
    r.sourceCode = kDefaultSource;
    r.windowWidth = kDefaultWidth;
    return r;
}

QByteArray formatConfig(const SettingsRecord &record)
{
    QStringEncoder encode(QStringConverter::System);
    QByteArray line = "\"NE PAS MODIFIER CE FICHIER\",\"";
    line += QByteArray(encode(record.fileName));
    line += "\",";
    line += QByteArray::number(record.intervalIndex);
    line += ',';
    line += QByteArray::number(record.sourceCode);
    line += ',';
    line += QByteArray::number(record.windowWidth);
    line += "\r\n";
    return line;
}

bool parseConfig(const QByteArray &bytes, SettingsRecord &record)
{
    const std::vector<Item> items = splitItems(bytes);
    // The last complete group of five wins; with no complete group, what is there is used.
    std::size_t first = 0;
    std::size_t count = items.size();
    if (items.size() >= 5) {
        first = (items.size() / 5 - 1) * 5;
        count = 5;
    }
    auto item = [&](std::size_t k) -> const QByteArray * {
        return k < count ? &items[first + k].text : nullptr;
    };

    bool clean = true;
    // Stateless: a name cut inside a multi-byte character must not lose its tail, or
    // become empty, while the decoder waits for bytes that never come.
    QStringDecoder decode(QStringConverter::System, QStringConverter::Flag::Stateless);
    const QString name = item(1) ? QString(decode(*item(1))) : QString();

    if (!name.isEmpty()) {
        record.fileName = name;
    } else {
        record.fileName = kDefaultFileName;
        clean = false;
    }

    readNumber(item(2), 1, 10, kDefaultInterval, record.intervalIndex, clean);
    readNumber(item(3), 0, 2, kDefaultSource, record.sourceCode, clean);
    readNumber(item(4), std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max(),
               kDefaultWidth, record.windowWidth, clean);
    return clean && items.size() % 5 == 0 && !items.empty();
}

QString resolveConfigPath(const QString &executableDir, const QString &userConfigDir)
{
    const QString portable = QDir(executableDir).filePath(QStringLiteral("orvtr.cfg"));
    const QByteArray dir = QFile::encodeName(executableDir);
    // An installed copy keeps its settings per user, even when run by root, who could
    // write beside it: one under /usr, or one installed with its desktop entry (a
    // prefix of the user's own, such as ~/.local).
    const bool installed = QDir::cleanPath(executableDir).startsWith(QLatin1String("/usr/"))
        || QFileInfo::exists(QDir(executableDir).filePath(QStringLiteral("../share/applications/orvalin.desktop")));
    if (!installed && (QFileInfo::exists(portable) || ::access(dir.constData(), W_OK) == 0))
        return portable;
    return QDir(userConfigDir).filePath(QStringLiteral("orvtr.cfg"));
}

bool I_Ofichier::exists() const
{
    return QFileInfo::exists(m_path);
}

void I_Ofichier::charge_config()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Unreadable: run on the defaults rather than half-empty fields.
        m_state.settings = defaultSettings();
        return;
    }
    // The file is one short line; anything huge is not ours.
    const QByteArray bytes = file.read(64 * 1024);
    parseConfig(bytes, m_state.settings);
}

void I_Ofichier::sauve_config()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // Written beside and renamed over, so a power cut never leaves a half-written file.
    QSaveFile file(m_path);
    m_lastSaveOk = file.open(QIODevice::WriteOnly)
        && file.write(formatConfig(m_state.settings)) >= 0
        && file.commit();
}

} // namespace orv
