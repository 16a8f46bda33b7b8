#pragma once
// Running a survey search: the rows of the result grid, one per survey found,
// thirteen texts each in the order of SearchColumnNames, the survey date in
// its display form yyyy/mm/dd and the two times as hh:mm.

#include "sheet/survey_search_query.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace vortan::db {
class Database;
}

namespace vortan::sheet {

inline constexpr int SearchColumnCount = 13;
using SearchRow = std::array<QString, SearchColumnCount>;

// The columns of 調査地区 the grid shows, in grid order.
const QStringList& SearchColumnNames();

// Runs `query` (a text of BuildSurveySearchQuery) and converts its rows.
// Throws Failure.
std::vector<SearchRow> RunSurveySearch(db::Database& survey, const QString& query);

} // namespace vortan::sheet
