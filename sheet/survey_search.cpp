#include "sheet/survey_search.h"

#include "db/database.h"
#include "db/record_set.h"
#include "db/stored_date_time.h"

namespace vortan::sheet {

namespace {

enum Column { 調査日Column = 9, 開始時刻Column = 10, 終了時刻Column = 11 };

} // namespace

const QStringList& SearchColumnNames()
{
    static const QStringList names{
        QStringLiteral("調査地区No"), QStringLiteral("得意先名"),   QStringLiteral("現場名"),
        QStringLiteral("住所"),       QStringLiteral("調査目的"),   QStringLiteral("天候"),
        QStringLiteral("標高"),       QStringLiteral("調査責任者"), QStringLiteral("調査者"),
        QStringLiteral("調査日"),     QStringLiteral("調査開始時刻"), QStringLiteral("調査終了時刻"),
        QStringLiteral("記事"),
    };
    return names;
}

std::vector<SearchRow> RunSurveySearch(db::Database& survey, const QString& query)
{
    const QStringList& names = SearchColumnNames();
    db::RecordSet rows = survey.openRecordSet(query);
    std::vector<SearchRow> result;
    result.reserve(static_cast<std::size_t>(rows.recordCount()));

    // Fields by position: the names are looked up once, not once per row.
    std::array<int, SearchColumnCount> index{};
    for (int c = 0; c < SearchColumnCount; ++c) {
        index[static_cast<std::size_t>(c)] = -1;
        for (int f = 0; f < rows.fieldCount(); ++f) {
            if (rows.fieldName(f).compare(names[c], Qt::CaseInsensitive) == 0) {
                index[static_cast<std::size_t>(c)] = f;
                break;
            }
        }
        if (index[static_cast<std::size_t>(c)] < 0)
            rows.field(names[c]);   // throws the unknown-field failure
    }

    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        SearchRow row;
        for (int c = 0; c < SearchColumnCount; ++c)
            row[static_cast<std::size_t>(c)] = rows.field(index[static_cast<std::size_t>(c)]).toText();
        row[調査日Column] = db::StoredDateToDisplay(row[調査日Column]);
        row[開始時刻Column] = db::StoredTimeToDisplay(row[開始時刻Column]);
        row[終了時刻Column] = db::StoredTimeToDisplay(row[終了時刻Column]);
        result.push_back(std::move(row));
    }
    rows.close();
    return result;
}

} // namespace vortan::sheet
