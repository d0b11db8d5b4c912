// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace orv {

// File names are bytes to the system. Qt decodes them as UTF-8 and turns every byte that is
// not into U+FFFD, so two different names can become one and a name can never be opened
// again. Here a byte that is not UTF-8 becomes U+DC80 + byte (a lone surrogate, which no
// UTF-8 text decodes to) and goes back to the same byte: every name keeps its bytes.
QString decodeFileName(QByteArrayView bytes);
QByteArray encodeFileName(const QString &name);

// A name as the system finds it: a relative one is taken from the process's working folder,
// whose bytes are kept (QDir::currentPath() would lose those that are not UTF-8).
QString absoluteFileName(const QString &name);

// The last component of a path ("b.csv" of "/a/b.csv", "b" of "a/b/"), from its bytes.
QString lastPathComponent(const QString &name);

// The name as a message may show it: control characters, characters that reorder or hide
// text, and bytes that are not UTF-8 are written out as \x1b, \u202e, \xe9, so a name can
// never act on the terminal or the box that shows it.
QString displayableName(const QString &name);

} // namespace orv
