#include "db/postgres/postgres_statement_shape.h"

#include "db/jet_column_type.h"

namespace vortan::db {

namespace {

// Val(x): the number at the start of x's text (blanks before it skipped),
// 0 when there is none.
constexpr char16_t kValOpen[] = u"coalesce(cast(substring(cast((";
constexpr char16_t kValClose[] =
    u") as text) from '^\\s*([+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?)') as double precision), 0)";

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

class ShapeWriter {
public:
    ShapeWriter(const QString& in, const NameSpelling& spelling, bool namesOnly)
        : in_(in), spelling_(spelling), namesOnly_(namesOnly)
    {
    }

    QString names() { return rewrite(0, in_.size()); }

    PostgresShape run()
    {
        QString out = rewrite(0, in_.size());
        shape_.sql = out.toUtf8();
        return std::move(shape_);
    }

private:
    // The end of the quoted part that starts at `i`.
    qsizetype quotedEnd(qsizetype i) const
    {
        const QChar quote = in_[i];
        for (++i; i < in_.size(); ++i) {
            if (in_[i] == quote) {
                if (i + 1 < in_.size() && in_[i + 1] == quote)
                    ++i;
                else
                    return i + 1;
            }
        }
        return in_.size();
    }

    // The position of the parenthesis closing the one at `open`.
    qsizetype closing(qsizetype open) const
    {
        int depth = 0;
        for (qsizetype i = open; i < in_.size(); ++i) {
            const QChar c = in_[i];
            if (c == u'"' || c == u'\'') {
                i = quotedEnd(i) - 1;
            } else if (c == u'(') {
                ++depth;
            } else if (c == u')' && --depth == 0) {
                return i;
            }
        }
        return in_.size();
    }

    void parameter(QString& out, bool like)
    {
        out += u'$';
        out += QString::number(++shape_.parameters);
        shape_.likePattern.push_back(like);
    }

    QString rewrite(qsizetype from, qsizetype to)
    {
        QString out;
        out.reserve(to - from + 16);
        qsizetype i = from;
        while (i < to) {
            const QChar c = in_[i];
            if (c == u'"') {
                const qsizetype end = quotedEnd(i);
                const QString name = in_.mid(i + 1, end - i - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
                out += quotedName(spelling_(name));
                i = end;
                continue;
            }
            if (c == u'\'') {
                const qsizetype end = quotedEnd(i);
                out += QStringView(in_).mid(i, end - i);
                i = end;
                continue;
            }
            if (namesOnly_) {
                out += c;
                ++i;
                continue;
            }
            if (c == u'?') {
                parameter(out, false);
                ++i;
                continue;
            }
            if (!isWordChar(c)) {
                out += c;
                ++i;
                continue;
            }
            qsizetype end = i;
            while (end < to && isWordChar(in_[end]))
                ++end;
            const QStringView word = QStringView(in_).mid(i, end - i);
            qsizetype open = end;
            while (open < to && in_[open] == u' ')
                ++open;
            const bool call = open < to && in_[open] == u'(';
            if (call && word == u"ifnull") {
                out += QStringLiteral("coalesce");
            } else if (call && word == u"jet_val") {
                const qsizetype close = closing(open);
                out += kValOpen;
                out += rewrite(open + 1, close);
                out += kValClose;
                end = close + 1;
            } else if (word == u"LIKE") {
                like(out, end);
            } else if (word == u"ORDER" && QStringView(in_).mid(end).startsWith(u" BY")) {
                out += word;
                out += QStringLiteral(" BY");
                end += 3;
                end = orderBy(out, end, to);
            } else {
                out += word;
            }
            i = end;
        }
        return out;
    }

    // The items of ORDER BY, from `from` to the end of the clause, each with
    // Null placed as the file engine places it: before every value when
    // ascending, after them when descending. Returns the end of the clause.
    qsizetype orderBy(QString& out, qsizetype from, qsizetype to)
    {
        int depth = 0;
        qsizetype item = from;
        qsizetype i = from;
        auto finishItem = [&](qsizetype at) {
            const QString text = rewrite(item, at);
            out += text;
            out += text.trimmed().endsWith(QLatin1String(" DESC")) ? QStringLiteral(" NULLS LAST")
                                                                   : QStringLiteral(" NULLS FIRST");
        };
        while (i < to) {
            const QChar c = in_[i];
            if (c == u'"' || c == u'\'') {
                i = quotedEnd(i);
                continue;
            }
            if (c == u'(') {
                ++depth;
            } else if (c == u')') {
                if (depth == 0)
                    break;
                --depth;
            } else if (c == u',' && depth == 0) {
                finishItem(i);
                out += u',';
                item = i + 1;
            } else if (depth == 0 && QStringView(in_).mid(i).startsWith(u" LIMIT ")) {
                break;
            }
            ++i;
        }
        finishItem(i);
        return i;
    }

    // "x LIKE ?" becomes "x ~* $n" (and "NOT LIKE" "!~*") with the pattern
    // bound as a regular expression; a pattern that is no literal is
    // compared by ILIKE.
    void like(QString& out, qsizetype& end)
    {
        qsizetype next = end;
        while (next < in_.size() && in_[next] == u' ')
            ++next;
        const bool negated = out.endsWith(QLatin1String("NOT "));
        if (next < in_.size() && in_[next] == u'?') {
            if (negated)
                out.chop(4);
            out += negated ? QStringLiteral("!~* ") : QStringLiteral("~* ");
            parameter(out, true);
            end = next + 1;
            return;
        }
        out += QStringLiteral("ILIKE");
    }

    const QString& in_;
    const NameSpelling& spelling_;
    bool namesOnly_;
    PostgresShape shape_;
};

} // namespace

PostgresShape postgresShape(const QString& translated, const NameSpelling& spelling)
{
    return ShapeWriter(translated, spelling, false).run();
}

QString withStoredNames(const QString& sql, const NameSpelling& spelling)
{
    return ShapeWriter(sql, spelling, true).names();
}

QString likePatternRegex(QStringView pattern)
{
    QString out = QStringLiteral("^");
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'*') {
            out += QStringLiteral(".*");
        } else if (c == u'?') {
            out += u'.';
        } else if (c == u'#') {
            out += QStringLiteral("[0-9]");
        } else if (c == u'[') {
            const qsizetype close = pattern.indexOf(u']', i + 1);
            if (close < 0) {
                out += QStringLiteral("\\[");
                continue;
            }
            QStringView list = pattern.mid(i + 1, close - i - 1);
            out += u'[';
            if (list.startsWith(u'!')) {
                out += u'^';
                list = list.mid(1);
            }
            for (QChar m : list) {
                if (m == u'\\' || m == u'^' || m == u'[' || m == u']')
                    out += u'\\';
                out += m;
            }
            out += u']';
            i = close;
        } else {
            if (!c.isLetterOrNumber() && c.unicode() < 0x80 && c != u' ')
                out += u'\\';
            out += c;
        }
    }
    out += u'$';
    return out;
}

} // namespace vortan::db
