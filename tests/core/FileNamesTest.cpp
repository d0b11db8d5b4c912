// SPDX-License-Identifier: GPL-3.0-or-later
// Names from the command line keep their bytes, and are shown without acting on a terminal.
#include "core/FileNames.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(FileNames, EveryNameKeepsItsBytesAndIsShownHarmless)
{
    const struct {
        QByteArray bytes;
        const char *shown; // UTF-8
    } cases[] = {
        {"donn\303\251es.csv", "données.csv"},
        {"donn\351es.csv", "donn\\xe9es.csv"},                // Windows-1252, not UTF-8
        {"donn\357\277\275es.csv", "donn\357\277\275es.csv"}, // a real U+FFFD stays apart
        {"\x1b[2J\x1b]0;x\x07.csv", "\\x1b[2J\\x1b]0;x\\x07.csv"},
        {"a\nb\tc\x7f.csv", "a\\x0ab\\x09c\\x7f.csv"},
        {"\302\23331m.csv", "\\x9b31m.csv"},               // C1 CSI, valid UTF-8
        {"fdp.\342\200\256vsc.exe", "fdp.\\u202evsc.exe"}, // reverses what follows
        {"\xed\xa0\x80\xc0\xaf\xf4\x90\x80\x80\xc3", "\\xed\\xa0\\x80\\xc0\\xaf\\xf4\\x90\\x80\\x80\\xc3"},
        {"\xf0\x9f\x8c\xb1\xe9.csv", "\xf0\x9f\x8c\xb1\\xe9.csv"}, // a pair before an escaped byte
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        const QString name = decodeFileName(c.bytes);
        EXPECT_EQ(encodeFileName(name), c.bytes);
        EXPECT_EQ(displayableName(name), QString::fromUtf8(c.shown));
    }
}

TEST(FileNames, TheLastComponentOfAPath)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"/mnt/cl\xe9/mesures\xe9.csv", "mesures\xe9.csv"}, {"mesures/", "mesures"}, {"a.csv", "a.csv"}};
    for (const auto &[path, last] : cases)
        EXPECT_EQ(encodeFileName(lastPathComponent(decodeFileName(path))), last) << path.toStdString();
}
