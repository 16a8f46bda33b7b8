#include "db/jet_like.h"

#include <sqlite3.h>

namespace vortan::db {

namespace {

QChar folded(QChar c)
{
    return c.toCaseFolded();
}

// Matches one pattern element at `p` against `c`; on success sets `next` to
// the position after the element.
bool matchOne(QStringView pattern, qsizetype p, QChar c, qsizetype& next)
{
    const QChar pc = pattern[p];
    if (pc == u'?') {
        next = p + 1;
        return true;
    }
    if (pc == u'#') {
        next = p + 1;
        return c.unicode() >= u'0' && c.unicode() <= u'9';
    }
    if (pc == u'[') {
        const qsizetype close = pattern.indexOf(u']', p + 1);
        if (close >= 0) {
            qsizetype k = p + 1;
            bool negate = false;
            if (k < close && pattern[k] == u'!') {
                negate = true;
                ++k;
            }
            bool found = false;
            const QChar fc = folded(c);
            while (k < close) {
                const QChar lo = pattern[k];
                if (k + 2 < close && pattern[k + 1] == u'-') {
                    const QChar hi = pattern[k + 2];
                    if ((c >= lo && c <= hi) || (fc >= folded(lo) && fc <= folded(hi)))
                        found = true;
                    k += 3;
                } else {
                    if (folded(lo) == fc)
                        found = true;
                    ++k;
                }
            }
            next = close + 1;
            return found != negate;
        }
        // A "[" without its "]" stands for itself.
    }
    next = p + 1;
    return folded(pc) == folded(c);
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL
        || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    // SQLite calls like(pattern, text) for "text LIKE pattern".
    const auto* pattern = static_cast<const char16_t*>(sqlite3_value_text16(argv[0]));
    const int patternBytes = sqlite3_value_bytes16(argv[0]);
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(argv[1]));
    const int textBytes = sqlite3_value_bytes16(argv[1]);
    const bool match = jetLike(QStringView(text, textBytes / 2), QStringView(pattern, patternBytes / 2));
    sqlite3_result_int(context, match ? 1 : 0);
}

} // namespace

bool jetLike(QStringView text, QStringView pattern)
{
    const qsizetype n = text.size();
    const qsizetype m = pattern.size();
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starP = -1;   // pattern position after the last "*"
    qsizetype starT = 0;    // text position that "*" was last tried to end at
    while (t < n) {
        if (p < m && pattern[p] == u'*') {
            starP = ++p;
            starT = t;
            continue;
        }
        qsizetype next = 0;
        if (p < m && matchOne(pattern, p, text[t], next)) {
            p = next;
            ++t;
            continue;
        }
        if (starP >= 0) {
            p = starP;
            t = ++starT;
            continue;
        }
        return false;
    }
    while (p < m && pattern[p] == u'*')
        ++p;
    return p == m;
}

void registerJetLike(sqlite3* connection)
{
    sqlite3_create_function_v2(connection, "like", 2, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                               likeFunction, nullptr, nullptr, nullptr);
}

} // namespace vortan::db
