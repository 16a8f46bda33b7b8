#include "db/jet_sql_translator.h"

#include "db/engine_error_map.h"
#include "db/like_trigram_query.h"
#include "db/postgres_column_type.h"

#include <cstring>

namespace vortan::db {

namespace {

// Words passed to SQLite as keywords. Any other bare word is a name and is
// quoted, so that names which happen to be SQLite keywords still work.
constexpr const char* kKeywords[] = {
    "SELECT", "DISTINCT", "ALL", "FROM", "WHERE", "AND", "OR", "NOT", "IN", "IS", "NULL",
    "LIKE", "BETWEEN", "AS", "ON", "INNER", "LEFT", "RIGHT", "OUTER", "JOIN", "ORDER", "BY",
    "GROUP", "HAVING", "ASC", "DESC", "INSERT", "INTO", "VALUES", "UPDATE", "SET", "DELETE",
    "UNION", "EXISTS", "CREATE", "TABLE", "INDEX", "UNIQUE", "PRIMARY", "KEY", "CONSTRAINT",
    "DROP", "ALTER", "ADD", "COLUMN", "DEFAULT", "REFERENCES", "FOREIGN",
};

struct FunctionName {
    const char* jet;
    const char* sqlite;
};

constexpr FunctionName kFunctions[] = {
    {"Max", "max"}, {"Min", "min"}, {"Count", "count"}, {"Sum", "sum"}, {"Avg", "avg"},
    {"Abs", "abs"}, {"Len", "length"}, {"UCase", "upper"}, {"LCase", "lower"},
    {"Trim", "trim"}, {"LTrim", "ltrim"}, {"RTrim", "rtrim"}, {"Mid", "substr"},
    {"Nz", "ifnull"}, {"Val", "jet_val"},
};

bool sameAscii(QStringView word, const char* ascii)
{
    const size_t n = std::strlen(ascii);
    if (static_cast<size_t>(word.size()) != n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        char16_t a = word[qsizetype(i)].unicode();
        char16_t b = static_cast<unsigned char>(ascii[i]);
        if (a >= u'a' && a <= u'z')
            a -= 32;
        if (b >= u'a' && b <= u'z')
            b -= 32;
        if (a != b)
            return false;
    }
    return true;
}

const char* keyword(QStringView word)
{
    if (word.size() > 10 || word.isEmpty() || word[0].unicode() >= 0x80)
        return nullptr;
    for (const char* k : kKeywords) {
        if (sameAscii(word, k))
            return k;
    }
    return nullptr;
}

const char* functionName(QStringView word)
{
    if (word.size() > 5 || word.isEmpty() || word[0].unicode() >= 0x80)
        return nullptr;
    for (const FunctionName& f : kFunctions) {
        if (sameAscii(word, f.jet))
            return f.sqlite;
    }
    return nullptr;
}

void appendQuotedName(QString& out, QStringView name)
{
    out += u'"';
    if (name.contains(u'"')) {
        for (QChar c : name) {
            out += c;
            if (c == u'"')
                out += u'"';
        }
    } else {
        out += name;
    }
    out += u'"';
}

bool isNameToken(const SqlToken& t)
{
    return t.kind == SqlTokenKind::Word || t.kind == SqlTokenKind::Name;
}

// Appends a token to the output with the blanks between tokens made uniform,
// so that texts differing only in blanks share one shape.
template <typename Piece>
void appendSeparated(QString& out, Piece piece, bool glueLeft)
{
    if (!out.isEmpty() && !glueLeft) {
        const QChar last = out.back();
        if (last != u'(' && last != u'.' && last != u' ')
            out += u' ';
    }
    out += piece;
}

} // namespace

void JetSqlTranslator::fail(const char* what, std::ptrdiff_t token) const
{
    // What is wrong, as the user is told it.
    static const std::pair<const char*, const char*> words[] = {
        {"empty statement", "文がありません"},
        {"characters after the end of the statement", "文の終わりの「;」の後にまだ続きがあります"},
        {"UPDATE without SET", "UPDATE文にSETがありません"},
        {"DELETE list", "DELETEとFROMの間にはテーブル名しか書けません"},
        {"DELETE without FROM", "DELETE文にFROMがありません"},
        {"unknown statement", "使えない種類の文です"},
        {"number", "数値として読めません"},
        {"CREATE TABLE", "CREATE TABLE文の形が違います"},
        {"CREATE TABLE item", "CREATE TABLE文の項目の形が違います"},
        {"literal in a table constraint", "テーブルの制約に値は書けません"},
        {"column definition", "列の定義の形が違います"},
        {"column size", "列の大きさの書き方が違います"},
        {"column type", "使えない列の型です"},
        {"default value", "使えない既定値です"},
        {"column constraint", "使えない列の制約です"},
        {"table without columns", "テーブルに列がありません"},
        {"more than one primary key", "主キーが二つ以上あります"},
        {"ALTER TABLE", "ALTER TABLE文の形が違います"},
        {"ALTER TABLE column", "ALTER TABLE文に列名がありません"},
        {"ALTER TABLE DROP", "ALTER TABLE DROPの後に続きがあります"},
        {"ALTER TABLE action", "ALTER TABLEではADD、ALTER、DROPしか使えません"},
        {"ALTER TABLE type", "ALTER TABLE文に列の型がありません"},
        {"ALTER TABLE column definition", "ALTER TABLE文の列の定義の後に続きがあります"},
        {"NOT NULL on an added column", "追加する列にNOT NULLは付けられません"},
        {"literal in a schema statement", "この文に値は書けません"},
        {"index options", "インデックスのオプションは使えません"},
        {"DROP", "DROP文の形が違います"},
        {"CREATE", "CREATE文の形が違います"},
    };
    QString said = QString::fromUtf8(what);
    for (const auto& [english, japanese] : words)
        if (std::strcmp(english, what) == 0)
            said = QString::fromUtf8(japanese);
    qsizetype at = -1;
    if (token == -1 || (token >= 0 && std::size_t(token) >= tokens_.size()))
        at = sql_.trimmed().size();
    else if (token >= 0)
        at = tokens_[std::size_t(token)].text.data() - sql_.data();
    throw syntaxFailure(sql_, at, said);
}

void JetSqlTranslator::translate(QStringView jetSql, TranslatedStatement& out)
{
    sql_ = jetSql;
    tokenizeSql(jetSql, tokens_);
    while (!tokens_.empty() && isSymbol(tokens_.back(), ';'))
        tokens_.pop_back();
    if (tokens_.empty())
        fail("empty statement", 0);
    for (std::size_t t = 0; t < tokens_.size(); ++t) {
        if (isSymbol(tokens_[t], ';'))
            fail("characters after the end of the statement", std::ptrdiff_t(t));
    }
    out.sql.resize(0);
    out.literals.clear();
    out.schemaStatements.clear();
    skip_.assign(tokens_.size(), 0);
    lookups_.clear();

    const SqlToken& first = tokens_[0];
    if (isWord(first, "SELECT")) {
        out.kind = StatementKind::Select;
        size_t i = 1;
        if (i < tokens_.size() && (isWord(tokens_[i], "DISTINCT") || isWord(tokens_[i], "DISTINCTROW")
                                   || isWord(tokens_[i], "ALL")))
            ++i;
        QStringView top;
        if (i + 1 < tokens_.size() && isWord(tokens_[i], "TOP")
            && tokens_[i + 1].kind == SqlTokenKind::Number) {
            top = tokens_[i + 1].text;
            skip_[i] = skip_[i + 1] = 1;
        }
        if (!trigramColumns_.empty())
            findTrigramLookups();
        translateData(out, 0);
        if (!top.isEmpty()) {
            out.sql += QStringLiteral(" LIMIT ");
            out.sql += top;
        }
    } else if (isWord(first, "INSERT")) {
        out.kind = StatementKind::Insert;
        translateData(out, 0);
    } else if (isWord(first, "UPDATE")) {
        out.kind = StatementKind::Update;
        // SQLite takes bare column names after SET: drop "table." before each target.
        size_t i = 1;
        while (i < tokens_.size() && !isWord(tokens_[i], "SET"))
            ++i;
        if (i == tokens_.size())
            fail("UPDATE without SET", -1);
        bool atTarget = true;
        int depth = 0;
        for (++i; i < tokens_.size(); ++i) {
            const SqlToken& t = tokens_[i];
            if (isSymbol(t, '('))
                ++depth;
            else if (isSymbol(t, ')'))
                --depth;
            if (depth == 0 && isWord(t, "WHERE"))
                break;
            if (atTarget && i + 3 < tokens_.size() && isNameToken(t) && isSymbol(tokens_[i + 1], '.')
                && isNameToken(tokens_[i + 2]) && isSymbol(tokens_[i + 3], '=')) {
                skip_[i] = skip_[i + 1] = 1;
            }
            atTarget = depth == 0 && isSymbol(t, ',');
        }
        translateData(out, 0);
    } else if (isWord(first, "DELETE")) {
        out.kind = StatementKind::Delete;
        // "DELETE t.*, t.col FROM t": the list before FROM names the table only.
        size_t i = 1;
        while (i < tokens_.size() && !isWord(tokens_[i], "FROM")) {
            const SqlToken& t = tokens_[i];
            if (!isNameToken(t) && !isSymbol(t, '.') && !isSymbol(t, '*') && !isSymbol(t, ','))
                fail("DELETE list", std::ptrdiff_t(i));
            skip_[i] = 1;
            ++i;
        }
        if (i == tokens_.size())
            fail("DELETE without FROM", -1);
        translateData(out, 0);
    } else if (isWord(first, "CREATE") && tokens_.size() > 1 && isWord(tokens_[1], "TABLE")) {
        out.kind = StatementKind::Schema;
        translateCreateTable(out);
    } else if (isWord(first, "ALTER") && tokens_.size() > 1 && isWord(tokens_[1], "TABLE")) {
        translateAlterTable(out);
    } else if (isWord(first, "CREATE") || isWord(first, "DROP")) {
        out.kind = StatementKind::Schema;
        translateOtherSchema(out);
    } else {
        fail("unknown statement", 0);
    }
}

// Emits tokens from `first` on (those not marked to skip), turning literals
// into parameters, names into quoted names and the dialect's operators into
// SQLite's.
void JetSqlTranslator::translateData(TranslatedStatement& out, size_t first)
{
    QString& s = out.sql;
    const size_t n = tokens_.size();
    bool afterDot = false;        // the last emitted token was "."
    bool expectOperand = true;    // a sign here belongs to the number after it
    bool negative = false;        // such a sign was "-"
    size_t lookup = 0;            // the next Like looked up in its trigram index
    for (size_t i = first; i < n; ++i) {
        if (skip_[i])
            continue;
        const SqlToken& t = tokens_[i];
        if (lookup < lookups_.size() && lookups_[lookup].first == i)
            appendSeparated(s, QStringView(u"("), false);
        const SqlToken* next = i + 1 < n ? &tokens_[i + 1] : nullptr;
        switch (t.kind) {
        case SqlTokenKind::Word: {
            const bool qualified = afterDot || (next && isSymbol(*next, '.'));
            expectOperand = false;
            if (!qualified && (isWord(t, "TRUE") || isWord(t, "FALSE"))) {
                SqlLiteral& lit = out.literals.emplace_back();
                lit.kind = SqlLiteral::Kind::Integer;
                lit.integer = isWord(t, "TRUE") ? -1 : 0;
                appendSeparated(s, QStringView(u"?"), false);
                break;
            }
            if (!qualified && next && isSymbol(*next, '(')) {
                if (const char* f = functionName(t.text)) {
                    appendSeparated(s, QLatin1String(f), false);
                    break;
                }
            }
            if (!qualified) {
                if (isWord(t, "MOD")) {
                    appendSeparated(s, QStringView(u"%"), false);
                    expectOperand = true;
                    break;
                }
                if (isWord(t, "DISTINCTROW")) {
                    appendSeparated(s, QStringView(u"DISTINCT"), false);
                    expectOperand = true;
                    break;
                }
                if (const char* k = keyword(t.text)) {
                    appendSeparated(s, QLatin1String(k), false);
                    expectOperand = true;
                    break;
                }
            }
            appendSeparated(s, QStringView(), afterDot);
            appendQuotedName(s, t.text);
            break;
        }
        case SqlTokenKind::Name:
            appendSeparated(s, QStringView(), afterDot);
            appendQuotedName(s, t.text);
            expectOperand = false;
            break;
        case SqlTokenKind::Text: {
            SqlLiteral& lit = out.literals.emplace_back();
            lit.kind = SqlLiteral::Kind::Text;
            if (t.hasDoubledQuote) {
                lit.owned = t.text.toString();
                const QString one(t.quote);
                lit.owned.replace(one + one, one);
                lit.text = lit.owned;
            } else {
                lit.text = t.text;
            }
            appendSeparated(s, QStringView(u"?"), false);
            expectOperand = false;
            break;
        }
        case SqlTokenKind::Number: {
            SqlLiteral& lit = out.literals.emplace_back();
            bool ok = false;
            const bool whole = !t.text.contains(u'.') && !t.text.contains(u'e') && !t.text.contains(u'E');
            if (whole) {
                lit.integer = t.text.toLongLong(&ok, 10);
                lit.kind = SqlLiteral::Kind::Integer;
                if (ok && negative)
                    lit.integer = -lit.integer;
            }
            if (!ok) {
                lit.real = t.text.toDouble(&ok);
                lit.kind = SqlLiteral::Kind::Real;
                if (!ok)
                    fail("number", std::ptrdiff_t(i));
                if (negative)
                    lit.real = -lit.real;
            }
            negative = false;
            appendSeparated(s, QStringView(u"?"), false);
            expectOperand = false;
            break;
        }
        case SqlTokenKind::Symbol: {
            const QStringView sym = t.text;
            if ((sym == u"-" || sym == u"+") && expectOperand && next
                && next->kind == SqlTokenKind::Number) {
                negative = sym == u"-";
                break;   // the sign becomes part of the number's value
            }
            if (sym == u"&") {
                appendSeparated(s, QStringView(u"||"), false);
            } else if (sym == u"." || sym == u")" || sym == u",") {
                if (!s.isEmpty() && s.back() == u' ')
                    s.chop(1);
                s += sym;
            } else {
                appendSeparated(s, sym, false);
            }
            expectOperand = sym != u")" && sym != u"*";
            if (sym == u"*" && !afterDot)
                expectOperand = true;   // multiplication, not "t.*"
            break;
        }
        }
        if (lookup < lookups_.size() && lookups_[lookup].first + 4 == i) {
            const TrigramLookup& found = lookups_[lookup++];
            s += QStringLiteral(" AND ");
            appendQuotedName(s, tokens_[found.first].text);
            s += u'.';
            appendQuotedName(s, found.column->key);
            s += QStringLiteral(" IN (SELECT rowid FROM ");
            appendQuotedName(s, found.column->index);
            s += QStringLiteral(" WHERE ");
            appendQuotedName(s, found.column->index);
            s += QStringLiteral(" MATCH ?))");
            SqlLiteral& lit = out.literals.emplace_back();
            lit.kind = SqlLiteral::Kind::Text;
            lit.owned = found.query;
            lit.text = lit.owned;
        }
        afterDot = t.kind == SqlTokenKind::Symbol && isSymbol(t, '.');
    }
}

void JetSqlTranslator::setTrigramIndexedColumns(std::vector<TrigramIndexedColumn> columns)
{
    trigramColumns_ = std::move(columns);
}

void JetSqlTranslator::findTrigramLookups()
{
    const size_t n = tokens_.size();
    for (size_t i = 1; i + 4 < n; ++i) {
        const SqlToken& table = tokens_[i];
        const SqlToken& column = tokens_[i + 2];
        const SqlToken& pattern = tokens_[i + 4];
        if (!isNameToken(table) || !isSymbol(tokens_[i + 1], '.') || !isNameToken(column)
            || !isWord(tokens_[i + 3], "LIKE") || pattern.kind != SqlTokenKind::Text || isSymbol(tokens_[i - 1], '.'))
            continue;
        const TrigramIndexedColumn* indexed = nullptr;
        for (const TrigramIndexedColumn& c : trigramColumns_)
            if (table.text.compare(c.table, Qt::CaseInsensitive) == 0
                && column.text.compare(c.column, Qt::CaseInsensitive) == 0)
                indexed = &c;
        if (!indexed)
            continue;
        QString text = pattern.text.toString();
        if (pattern.hasDoubledQuote)
            text.replace(QString(pattern.quote) + pattern.quote, QString(pattern.quote));
        QString query = likeTrigramQuery(indexed->column, text);
        if (query.isEmpty() || !decidesRowsByTruth(i, i + 4))
            continue;
        lookups_.push_back({i, std::move(query), indexed});
        i += 4;
    }
}

// A WHERE made of terms joined by AND and OR (and parentheses) is true
// exactly when enough of its terms are true: which of the others are false
// and which are Null does not change it. So a term may be replaced by one
// that is true for the same rows. Anything else between the term and the
// WHERE (NOT, a comparison, a function, BETWEEN, CASE, a subquery, ON or
// HAVING) would see the difference, and keeps the term as it is.
bool JetSqlTranslator::decidesRowsByTruth(size_t first, size_t last) const
{
    const size_t n = tokens_.size();
    const auto joins = [](const SqlToken& t) { return isWord(t, "AND") || isWord(t, "OR"); };
    static const char* const kStops[] = {"SELECT", "FROM", "ON", "HAVING", "BY", "JOIN", "SET", "VALUES",
                                         "BETWEEN", "CASE", "WHEN", "THEN", "ELSE", "NOT", "IN", "IS"};
    for (;;) {
        if (last + 1 < n) {
            const SqlToken& after = tokens_[last + 1];
            if (!isSymbol(after, ')') && !joins(after) && !isWord(after, "ORDER") && !isWord(after, "GROUP"))
                return false;
        }
        if (first == 0)
            return false;
        const SqlToken& before = tokens_[first - 1];
        if (!isSymbol(before, '(') && !joins(before) && !isWord(before, "WHERE"))
            return false;
        // Leftwards across the terms joined to this one, to the parenthesis
        // that opens their group or to the WHERE.
        int depth = 0;
        size_t k = first;
        bool opened = false;
        while (k > 0 && !opened) {
            const SqlToken& t = tokens_[--k];
            if (isSymbol(t, ')')) {
                ++depth;
            } else if (isSymbol(t, '(')) {
                opened = depth == 0;
                depth -= opened ? 0 : 1;
            } else if (depth == 0 && isWord(t, "WHERE")) {
                // The statement's own WHERE, not one of a subquery.
                int outer = 0;
                for (size_t j = 0; j < k; ++j)
                    outer += isSymbol(tokens_[j], '(') ? 1 : isSymbol(tokens_[j], ')') ? -1 : 0;
                return outer == 0;
            } else if (depth == 0) {
                for (const char* stop : kStops)
                    if (isWord(t, stop))
                        return false;
            }
        }
        if (!opened)
            return false;
        // The group itself is the term one level up.
        first = k;
        depth = 0;
        for (last = k; last < n; ++last) {
            depth += isSymbol(tokens_[last], '(') ? 1 : isSymbol(tokens_[last], ')') ? -1 : 0;
            if (depth == 0)
                break;
        }
        if (last == n)
            return false;
    }
}

struct JetSqlTranslator::ColumnSpec {
    QString name;
    JetColumnType type;
    bool primaryKey = false;
    bool unique = false;
    bool notNull = false;
    QString defaultValue;   // SQLite text of the default, empty when none
};

namespace {

QString inlineLiteral(const SqlToken& t, bool negative)
{
    if (t.kind == SqlTokenKind::Number)
        return (negative ? QStringLiteral("-") : QString()) + t.text.toString();
    QString text = t.text.toString();
    if (t.hasDoubledQuote)
        text.replace(QString(t.quote) + t.quote, QString(t.quote));
    text.replace(QStringLiteral("'"), QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

} // namespace

QString JetSqlTranslator::defaultValue(size_t& k, size_t end) const
{
    // tokens_[k] is the word DEFAULT; a value follows, a number with an
    // optional minus sign, a text, True, False or Null.
    bool negative = false;
    ++k;
    if (k < end && isSymbol(tokens_[k], '-') && k + 1 < end) {
        negative = true;
        ++k;
    }
    if (k >= end)
        fail("default value");
    const SqlToken& v = tokens_[k];
    ++k;
    if (v.kind == SqlTokenKind::Number || v.kind == SqlTokenKind::Text)
        return inlineLiteral(v, negative);
    if (negative)
        fail("default value");
    if (isWord(v, "TRUE"))
        return QStringLiteral("-1");
    if (isWord(v, "FALSE"))
        return QStringLiteral("0");
    if (isWord(v, "NULL"))
        return QStringLiteral("NULL");
    fail("default value");
}

size_t JetSqlTranslator::endOfItem(size_t first, size_t end) const
{
    size_t k = first;
    int depth = 0;
    while (k < end) {
        if (isSymbol(tokens_[k], '('))
            ++depth;
        else if (isSymbol(tokens_[k], ')'))
            --depth;
        else if (depth == 0 && isSymbol(tokens_[k], ','))
            break;
        ++k;
    }
    if (k == first || depth != 0)
        fail("CREATE TABLE item");
    return k;
}

QString JetSqlTranslator::tableConstraint(size_t first, size_t end, bool& primaryKey)
{
    TranslatedStatement part;
    skip_.assign(tokens_.size(), 1);
    for (size_t k = first; k < end; ++k) {
        skip_[k] = 0;
        if (isWord(tokens_[k], "PRIMARY"))
            primaryKey = true;
        if (tokens_[k].kind == SqlTokenKind::Text || tokens_[k].kind == SqlTokenKind::Number)
            fail("literal in a table constraint");
    }
    translateData(part, first);
    return part.sql;
}

JetColumnType JetSqlTranslator::columnType(size_t& k, size_t end) const
{
    const QStringView typeWord = tokens_[k].text;
    ++k;
    std::optional<int> size;
    if (k < end && isSymbol(tokens_[k], '(')) {
        if (k + 2 >= end || tokens_[k + 1].kind != SqlTokenKind::Number || !isSymbol(tokens_[k + 2], ')'))
            fail("column size");
        bool ok = false;
        size = tokens_[k + 1].text.toInt(&ok);
        if (!ok)
            fail("column size");
        k += 3;
    }
    const auto type = jetTypeFromWord(typeWord, size);
    if (!type)
        fail("column type");
    return *type;
}

JetSqlTranslator::ColumnSpec JetSqlTranslator::columnSpec(size_t first, size_t end) const
{
    ColumnSpec col;
    if (!isNameToken(tokens_[first]) || first + 1 >= end || tokens_[first + 1].kind != SqlTokenKind::Word)
        fail("column definition");
    col.name = tokens_[first].text.toString();
    size_t k = first + 1;
    col.type = columnType(k, end);
    while (k < end) {
        const SqlToken& t = tokens_[k];
        if (isWord(t, "CONSTRAINT") && k + 1 < end && isNameToken(tokens_[k + 1])) {
            k += 2;
        } else if (isWord(t, "PRIMARY") && k + 1 < end && isWord(tokens_[k + 1], "KEY")) {
            col.primaryKey = true;
            k += 2;
        } else if (isWord(t, "UNIQUE")) {
            col.unique = true;
            ++k;
        } else if (isWord(t, "NOT") && k + 1 < end && isWord(tokens_[k + 1], "NULL")) {
            col.notNull = true;
            k += 2;
        } else if (isWord(t, "NULL")) {
            ++k;
        } else if (isWord(t, "DEFAULT") && k + 1 < end) {
            col.defaultValue = defaultValue(k, end);
        } else {
            fail("column constraint");
        }
    }
    return col;
}

QString JetSqlTranslator::createTableText(const QString& table, const std::vector<ColumnSpec>& columns,
                                          const QStringList& constraints, bool tablePrimaryKey) const
{
    int primaryColumns = 0;
    for (const ColumnSpec& c : columns)
        primaryColumns += c.primaryKey ? 1 : 0;
    if (primaryColumns > 1 || (primaryColumns == 1 && tablePrimaryKey))
        fail("more than one primary key");

    QString create = QStringLiteral("CREATE TABLE ") + quotedName(table) + QStringLiteral(" (");
    bool counterKeyTaken = false;
    for (size_t c = 0; c < columns.size(); ++c) {
        const ColumnSpec& col = columns[c];
        if (c > 0)
            create += QStringLiteral(", ");
        create += columnDefinition(col.name, col.type);
        const bool counterKey = col.type.type == JetType::Counter && !counterKeyTaken
            && (col.primaryKey || (primaryColumns == 0 && !tablePrimaryKey));
        if (counterKey) {
            // The row number of the table counts up for new rows, as a counter does.
            create += dialect_ == SqlDialect::Sqlite ? QStringLiteral(" PRIMARY KEY AUTOINCREMENT")
                                                     : QStringLiteral(" GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
            counterKeyTaken = true;
        } else if (col.primaryKey) {
            create += QStringLiteral(" PRIMARY KEY");
        }
        if (col.unique)
            create += QStringLiteral(" UNIQUE");
        if (col.notNull)
            create += QStringLiteral(" NOT NULL");
        if (!col.defaultValue.isEmpty())
            create += QStringLiteral(" DEFAULT ") + col.defaultValue;
        else if (col.type.type == JetType::YesNo)
            create += QStringLiteral(" DEFAULT 0");
    }
    for (const QString& constraint : constraints)
        create += QStringLiteral(", ") + constraint;
    create += u')';
    return create;
}

void JetSqlTranslator::translateCreateTable(TranslatedStatement& out)
{
    const size_t n = tokens_.size();
    if (n < 4 || !isNameToken(tokens_[2]) || !isSymbol(tokens_[3], '(') || !isSymbol(tokens_.back(), ')'))
        fail("CREATE TABLE");
    const QString table = tokens_[2].text.toString();
    std::vector<ColumnSpec> columns;
    QStringList tableConstraints;
    bool tablePrimaryKey = false;

    // The items between the parentheses, one up to each comma outside
    // parentheses: table constraints and column definitions.
    const size_t end = n - 1;
    for (size_t i = 4; i < end;) {
        const size_t itemEnd = endOfItem(i, end);
        const SqlToken& head = tokens_[i];
        if (head.kind == SqlTokenKind::Word
            && (isWord(head, "CONSTRAINT") || isWord(head, "PRIMARY") || isWord(head, "UNIQUE")
                || isWord(head, "FOREIGN")))
            tableConstraints.append(tableConstraint(i, itemEnd, tablePrimaryKey));
        else
            columns.push_back(columnSpec(i, itemEnd));
        i = itemEnd + 1;
        if (itemEnd == end)
            break;
        if (i >= end)
            fail("CREATE TABLE item");
    }
    if (columns.empty())
        fail("table without columns");

    out.schemaStatements.append(createTableText(table, columns, tableConstraints, tablePrimaryKey));
    for (const ColumnSpec& col : columns)
        out.schemaStatements.append(columnRules(table, col.name, col.type));
}

void JetSqlTranslator::translateAlterTable(TranslatedStatement& out)
{
    const size_t n = tokens_.size();
    if (n < 5 || !isNameToken(tokens_[2]))
        fail("ALTER TABLE");
    const QString table = tokens_[2].text.toString();
    size_t i = 4;
    const SqlToken& action = tokens_[3];
    if (i < n && isWord(tokens_[i], "COLUMN"))
        ++i;
    if (i >= n || !isNameToken(tokens_[i]))
        fail("ALTER TABLE column");
    const QString column = tokens_[i].text.toString();
    ++i;

    if (isWord(action, "DROP")) {
        if (i != n)
            fail("ALTER TABLE DROP");
        out.kind = StatementKind::Schema;
        if (dialect_ == SqlDialect::Sqlite) {
            out.schemaStatements.append(QStringLiteral("DROP TRIGGER IF EXISTS ")
                                        + quotedName(QStringLiteral("jet_yesno_ins_") + table + u'_' + column));
            out.schemaStatements.append(QStringLiteral("DROP TRIGGER IF EXISTS ")
                                        + quotedName(QStringLiteral("jet_yesno_upd_") + table + u'_' + column));
        } else {
            out.schemaStatements.append(postgresDropYesNoRule(table, column));
        }
        out.schemaStatements.append(QStringLiteral("ALTER TABLE ") + quotedName(table)
                                    + QStringLiteral(" DROP COLUMN ") + quotedName(column));
        return;
    }
    if (!isWord(action, "ADD") && !isWord(action, "ALTER"))
        fail("ALTER TABLE action");
    if (i >= n || tokens_[i].kind != SqlTokenKind::Word)
        fail("ALTER TABLE type");
    const JetColumnType type = columnType(i, n);
    bool notNull = false;
    if (i + 1 < n && isWord(tokens_[i], "NOT") && isWord(tokens_[i + 1], "NULL")) {
        notNull = true;
        i += 2;
    }
    QString defaultText;
    if (i < n && isWord(tokens_[i], "DEFAULT"))
        defaultText = defaultValue(i, n);
    if (i != n)
        fail("ALTER TABLE column definition");

    if (isWord(action, "ALTER")) {
        out.kind = StatementKind::AlterColumn;
        out.table = table;
        out.column = column;
        out.newType = type;
        out.newDefault = defaultText;
        return;
    }
    out.kind = StatementKind::Schema;
    JetColumnType added = type;
    if (added.type == JetType::Counter)
        added.type = JetType::Long;   // an added column cannot become the row number
    QString def = columnDefinition(column, added);
    if (added.type == JetType::YesNo)
        def += QStringLiteral(" NOT NULL DEFAULT ")
            + (defaultText.isEmpty() || defaultText == u"NULL" ? QStringLiteral("0") : defaultText);
    else if (notNull)
        fail("NOT NULL on an added column");
    else if (!defaultText.isEmpty())
        def += QStringLiteral(" DEFAULT ") + defaultText;
    out.schemaStatements.append(QStringLiteral("ALTER TABLE ") + quotedName(table)
                                + QStringLiteral(" ADD COLUMN ") + def);
    out.schemaStatements.append(columnRules(table, column, added));
}

QString JetSqlTranslator::columnDefinition(const QString& name, const JetColumnType& type) const
{
    return dialect_ == SqlDialect::Sqlite ? sqliteColumnDefinition(name, type) : postgresColumnDefinition(name, type);
}

QStringList JetSqlTranslator::columnRules(const QString& table, const QString& column, const JetColumnType& type) const
{
    if (dialect_ == SqlDialect::PostgreSql)
        return postgresColumnRules(table, column, type);
    return type.type == JetType::YesNo ? yesNoTriggers(table, column) : QStringList();
}

void JetSqlTranslator::translateOtherSchema(TranslatedStatement& out)
{
    // CREATE [UNIQUE] INDEX name ON table (columns), DROP TABLE name, DROP INDEX name [ON table].
    const size_t n = tokens_.size();
    for (size_t i = 0; i < n; ++i) {
        if (tokens_[i].kind == SqlTokenKind::Text || tokens_[i].kind == SqlTokenKind::Number)
            fail("literal in a schema statement");
        if (isWord(tokens_[i], "WITH"))
            fail("index options");
    }
    if (isWord(tokens_[0], "DROP")) {
        if (n < 3 || !(isWord(tokens_[1], "TABLE") || isWord(tokens_[1], "INDEX")))
            fail("DROP");
        if (isWord(tokens_[1], "INDEX") && n == 5 && isWord(tokens_[3], "ON"))
            skip_[3] = skip_[4] = 1;
        else if (n != 3)
            fail("DROP");
    } else {
        const size_t k = n > 1 && isWord(tokens_[1], "UNIQUE") ? 2 : 1;
        if (k >= n || !isWord(tokens_[k], "INDEX"))
            fail("CREATE");
    }
    TranslatedStatement part;
    translateData(part, 0);
    out.schemaStatements.append(part.sql);
}

} // namespace vortan::db
