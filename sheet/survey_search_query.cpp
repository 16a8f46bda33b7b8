#include "sheet/survey_search_query.h"

#include "core/number_text.h"
#include "db/database.h"
#include "db/stored_date_time.h"

namespace vortan::sheet {

namespace {

// A text typed without a wildcard matches anywhere in the field; one that
// holds a wildcard of Like (* ? # [) is the pattern as typed.
QString likePattern(const QString& text)
{
    for (const QChar c : text)
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[')
            return text;
    return u'*' + text + u'*';
}

class Condition {
public:
    // The customer, the first criterion, stands without the blanks around it.
    void firstPattern(const QString& column, const QString& text)
    {
        if (text.isEmpty())
            return;
        joinAnd();
        text_ += u'(' + column + QStringLiteral(" Like '") + db::quoted(likePattern(text)) + QStringLiteral("')");
    }

    void pattern(const QString& column, const QString& text)
    {
        if (text.isEmpty())
            return;
        joinAnd();
        text_ += QStringLiteral(" (") + column + QStringLiteral(" Like '") + db::quoted(likePattern(text))
            + QStringLiteral("') ");
    }

    // A text column holding numbers, compared as numbers: only rows that
    // hold a value, its number read by Val; each bound as the number typed.
    void numberRange(const QString& column, const QString& from, const QString& to)
    {
        const bool hasFrom = !from.trimmed().isEmpty();
        const bool hasTo = !to.trimmed().isEmpty();
        if (!hasFrom && !hasTo)
            return;
        joinAnd();
        const QString value = QStringLiteral("Val(") + column + u')';
        text_ += u'(' + column + QStringLiteral(" <> '')");
        if (hasFrom)
            text_ += QStringLiteral(" and (") + value + QStringLiteral(" >= ")
                + numtext::shortestDouble(numtext::leadingNumber(from)) + u')';
        if (hasTo)
            text_ += QStringLiteral(" and (") + value + QStringLiteral(" <= ")
                + numtext::shortestDouble(numtext::leadingNumber(to)) + u')';
    }

    // Blanks decide whether a value is given; the values go in unchanged.
    void range(const QString& column, const QString& from, const QString& to)
    {
        const bool hasFrom = !from.trimmed().isEmpty();
        const bool hasTo = !to.trimmed().isEmpty();
        if (!hasFrom && !hasTo)
            return;
        joinAnd();
        if (hasFrom)
            text_ += u'(' + column + QStringLiteral(" >= ") + from + u')';
        if (hasFrom && hasTo)
            text_ += QStringLiteral(" and ");
        if (hasTo)
            text_ += u'(' + column + QStringLiteral(" <= ") + to + u')';
    }

    // Times and dates: only when both boxes hold text, each value in its
    // stored form between single quotes (a text that is no time or date
    // converts to empty text and compares with '').
    void storedRange(const QString& column, const QString& from, const QString& to,
                     QString (*toStored)(const QString&))
    {
        if (from.trimmed().isEmpty() || to.trimmed().isEmpty())
            return;
        range(column, u'\'' + toStored(from) + u'\'', u'\'' + toStored(to) + u'\'');
    }

    const QString& text() const { return text_; }

private:
    void joinAnd()
    {
        if (!text_.isEmpty())
            text_ += QStringLiteral(" and ");
    }

    QString text_;
};

} // namespace

QString BuildSurveySearchQuery(const SurveySearchCriteria& c)
{
    Condition where;
    where.firstPattern(QStringLiteral("調査地区.得意先名"), c.得意先名);
    where.pattern(QStringLiteral("調査地区.現場名"), c.現場名);
    where.pattern(QStringLiteral("調査地区.住所"), c.住所);
    where.pattern(QStringLiteral("調査地区.調査目的"), c.調査目的);
    where.pattern(QStringLiteral("調査地区.天候"), c.天候);
    where.numberRange(QStringLiteral("調査地区.標高"), c.標高From, c.標高To);
    where.pattern(QStringLiteral("調査地区.調査責任者"), c.調査責任者);
    where.pattern(QStringLiteral("調査地区.調査者"), c.調査者);
    where.storedRange(QStringLiteral("調査地区.調査開始時刻"), c.開始時刻From, c.開始時刻To, db::TimeToStored);
    where.storedRange(QStringLiteral("調査地区.調査終了時刻"), c.終了時刻From, c.終了時刻To, db::TimeToStored);
    where.storedRange(QStringLiteral("調査地区.調査日"), c.調査日From, c.調査日To, db::DateToStored);
    where.pattern(QStringLiteral("調査地区.記事"), c.記事);

    QString sql = QStringLiteral("select 調査地区.* from 調査地区 ");
    if (!where.text().isEmpty())
        sql += QStringLiteral("WHERE (") + where.text() + QStringLiteral(") ");
    return sql + QStringLiteral("ORDER BY 調査地区.調査地区No");
}

} // namespace vortan::sheet
