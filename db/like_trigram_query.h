#pragma once
// What a trigram index of a text column can tell about a Like pattern of the
// program's dialect. Every row the pattern matches holds each run of plain
// characters of the pattern (characters between its wildcards * ? # [..])
// somewhere in its text, letter case aside. A run of three or more
// characters is a phrase the index finds; the rows it finds are a superset of
// the rows the pattern matches, which Like then decides among.

#include <QString>
#include <QStringView>

namespace vortan::db {

// True when the index and Like agree on which characters `c` stands for, so
// that `c` can be part of a run looked up in the index: characters without
// letter case, ASCII, and the Latin, Greek and full-width Latin letters whose
// case folding the index shares with Like. Other letters (Cyrillic, Georgian,
// Cherokee, ...) are folded differently by the index for some of their case
// partners, and end a run. Surrogates end a run too: the index counts
// characters, not UTF-16 units.
bool foldsAlikeInTrigramIndex(QChar c);

// The full-text query of the index that finds every row of `column` the
// pattern can match: the pattern's runs of three or more characters, a long
// run in pieces, as phrases of that column, all of them required. Empty when
// the pattern has no such run (a short pattern, or one made of wildcards):
// the index cannot narrow the rows, and the column must be read whole.
QString likeTrigramQuery(QStringView column, QStringView pattern);

} // namespace vortan::db
