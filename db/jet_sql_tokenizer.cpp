#include "db/jet_sql_tokenizer.h"

#include "core/failure.h"
#include "db/engine_error_map.h"

namespace vortan::db {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == QChar(0x3000);
}

bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x80)
        return !isBlank(c);
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
        || u == u'_';
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

[[noreturn]] void syntaxError(QStringView sql, qsizetype at, const char* what)
{
    throw syntaxFailure(sql, at, QString::fromUtf8(what));
}

SqlToken makeToken(SqlTokenKind kind, QStringView text, bool doubled = false, QChar quote = QChar())
{
    SqlToken token;
    token.kind = kind;
    token.text = text;
    token.hasDoubledQuote = doubled;
    token.quote = quote;
    return token;
}

} // namespace

void tokenizeSql(QStringView sql, std::vector<SqlToken>& out)
{
    out.clear();
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        const char16_t u = c.unicode();
        if (u == u'\'' || u == u'"') {
            const qsizetype start = i + 1;
            bool doubled = false;
            qsizetype j = start;
            for (;;) {
                if (j >= n)
                    syntaxError(sql, i, "文字列の引用符が閉じていません");
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        doubled = true;
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out.push_back(makeToken(SqlTokenKind::Text, sql.mid(start, j - start), doubled, c));
            i = j + 1;
            continue;
        }
        if (u == u'[') {
            const qsizetype close = sql.indexOf(u']', i + 1);
            if (close < 0)
                syntaxError(sql, i, "名前の括弧が閉じていません");
            if (close == i + 1)
                syntaxError(sql, i, "名前が空です");
            out.push_back(makeToken(SqlTokenKind::Name, sql.mid(i + 1, close - i - 1)));
            i = close + 1;
            continue;
        }
        if (isDigit(c) || (u == u'.' && i + 1 < n && isDigit(sql[i + 1])
                           && (out.empty() || out.back().kind != SqlTokenKind::Word))) {
            qsizetype j = i;
            while (j < n && isDigit(sql[j]))
                ++j;
            if (j < n && sql[j] == u'.') {
                ++j;
                while (j < n && isDigit(sql[j]))
                    ++j;
            }
            if (j < n && (sql[j] == u'e' || sql[j] == u'E')) {
                qsizetype k = j + 1;
                if (k < n && (sql[k] == u'+' || sql[k] == u'-'))
                    ++k;
                if (k < n && isDigit(sql[k])) {
                    while (k < n && isDigit(sql[k]))
                        ++k;
                    j = k;
                }
            }
            out.push_back(makeToken(SqlTokenKind::Number, sql.mid(i, j - i)));
            i = j;
            continue;
        }
        if (isWordChar(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordChar(sql[j]))
                ++j;
            out.push_back(makeToken(SqlTokenKind::Word, sql.mid(i, j - i)));
            i = j;
            continue;
        }
        if (u == u'<' && i + 1 < n && (sql[i + 1] == u'=' || sql[i + 1] == u'>')) {
            out.push_back(makeToken(SqlTokenKind::Symbol, sql.mid(i, 2)));
            i += 2;
            continue;
        }
        if (u == u'>' && i + 1 < n && sql[i + 1] == u'=') {
            out.push_back(makeToken(SqlTokenKind::Symbol, sql.mid(i, 2)));
            i += 2;
            continue;
        }
        switch (u) {
        case u'(': case u')': case u',': case u'.': case u';': case u'*': case u'=':
        case u'<': case u'>': case u'+': case u'-': case u'/': case u'&':
            out.push_back(makeToken(SqlTokenKind::Symbol, sql.mid(i, 1)));
            ++i;
            continue;
        default:
            syntaxError(sql, i, "使えない文字です");
        }
    }
}

bool isWord(const SqlToken& token, const char* word)
{
    if (token.kind != SqlTokenKind::Word)
        return false;
    const QStringView t = token.text;
    qsizetype i = 0;
    for (; word[i]; ++i) {
        if (i >= t.size())
            return false;
        char16_t a = t[i].unicode();
        char16_t b = static_cast<unsigned char>(word[i]);
        if (a >= u'a' && a <= u'z')
            a -= 32;
        if (b >= u'a' && b <= u'z')
            b -= 32;
        if (a != b)
            return false;
    }
    return i == t.size();
}

bool isSymbol(const SqlToken& token, char symbol)
{
    return token.kind == SqlTokenKind::Symbol && token.text.size() == 1
        && token.text[0].unicode() == static_cast<char16_t>(symbol);
}

} // namespace vortan::db
