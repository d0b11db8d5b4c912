// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileNames.h"

#include <climits>
#include <unistd.h>

#include <QStringDecoder>

namespace orv {

namespace {

constexpr char16_t kEscapedByte = 0xDC00;

bool escapedByte(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// The length of the valid UTF-8 sequence at the start of bytes, 0 when there is none.
qsizetype validSequence(QByteArrayView bytes)
{
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    qsizetype length;
    char32_t min;
    char32_t code;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        if ((at(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (at(i) & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString name = utf8(bytes);
    if (!utf8.hasError())
        return name;
    name.clear();
    while (!bytes.isEmpty()) {
        const qsizetype n = validSequence(bytes);
        if (n == 0) {
            name += QChar(static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(bytes[0])));
            bytes = bytes.sliced(1);
        } else {
            name += QString::fromUtf8(bytes.first(n));
            bytes = bytes.sliced(n);
        }
    }
    return name;
}

QByteArray encodeFileName(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype start = 0; // of the run of ordinary characters not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!escapedByte(c) || (i > 0 && name[i - 1].isHighSurrogate()))
            continue;
        bytes += QStringView(name).sliced(start, i - start).toUtf8();
        bytes += static_cast<char>(c - kEscapedByte);
        start = i + 1;
    }
    bytes += QStringView(name).sliced(start).toUtf8();
    return bytes;
}

QString absoluteFileName(const QString &name)
{
    if (name.startsWith(QLatin1Char('/')))
        return name;
    char folder[PATH_MAX];
    if (::getcwd(folder, sizeof folder) == nullptr)
        return name; // the folder is gone: the system will not find the name either
    return decodeFileName(folder) + QLatin1Char('/') + name;
}

QString lastPathComponent(const QString &name)
{
    QStringView path(name);
    while (path.endsWith(u'/'))
        path.chop(1);
    return path.sliced(path.lastIndexOf(u'/') + 1).toString();
}

QString displayableName(const QString &name)
{
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const char16_t u = c.unicode();
        const bool paired = (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate())
                            || (c.isLowSurrogate() && i > 0 && name[i - 1].isHighSurrogate());
        if (escapedByte(u) && !paired)
            shown += QStringLiteral("\\x%1").arg(u - kEscapedByte, 2, 16, QLatin1Char('0'));
        else if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            shown += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else if ((c.isSurrogate() && !paired) || c.category() == QChar::Other_Format
                 || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            shown += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

} // namespace orv
