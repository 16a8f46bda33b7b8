#pragma once
// Splitting a file's bytes into lines for the card and exchange readers. A
// line ends at CR LF, at a lone CR or at a lone LF; the last line counts even
// without a terminator, and a terminator at the very end adds no empty line.
// The lines are views into the caller's buffer, terminators excluded, so a
// reader can count the bytes of each line; the buffer must outlive them.

#include <QByteArrayView>
#include <QList>
#include <QStringView>

namespace vortan::textlines {

QList<QByteArrayView> splitLines(QByteArrayView bytes);

// The same rule over decoded text.
QList<QStringView> splitLines(QStringView text);

} // namespace vortan::textlines
