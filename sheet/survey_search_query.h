#pragma once
// The survey search's criteria and the SELECT built from them. Text fields
// are Like patterns: a text with a wildcard as typed, any other text found
// anywhere in the field (between "*"s). Elevation is a range of numbers,
// open on either side, that only surveys with an elevation fall into; start
// time, end time and survey date are ranges applied only when both of their
// boxes hold text, their values converted to the stored forms.

#include <QString>

namespace vortan::sheet {

struct SurveySearchCriteria {
    QString 得意先名;
    QString 現場名;
    QString 住所;
    QString 調査目的;
    QString 天候;
    QString 標高From;
    QString 標高To;
    QString 調査責任者;
    QString 調査者;
    QString 開始時刻From;
    QString 開始時刻To;
    QString 終了時刻From;
    QString 終了時刻To;
    QString 調査日From;
    QString 調査日To;
    QString 記事;
};

// "select 調査地区.* from 調査地区 " + "WHERE (" + condition + ") " when there
// is a condition, + "ORDER BY 調査地区.調査地区No". A pattern's single quotes
// are doubled, so a pattern matches them literally and cannot end the text.
QString BuildSurveySearchQuery(const SurveySearchCriteria& criteria);

} // namespace vortan::sheet
