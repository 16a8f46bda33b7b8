#pragma once
// What an exchange-file import tells when it ends: the survey numbers it
// created or replaced, and the rows it could not store, how many and why.

#include "db/survey_store.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace vortan::intake {

// Survey numbers in the order given, runs of consecutive numbers joined by
// "～": {42, 43, 44, 50} gives "42～44, 50".
QString surveyNumbersText(const std::vector<std::int32_t>& numbers);

// "調査地区No 42～44 を追加しました。" and/or "調査地区No 5 を置き換えました。"
// on lines of their own; "読み込むデータがありませんでした。" when neither.
QString importedSurveysText(const std::vector<std::int32_t>& created,
                            const std::vector<std::int32_t>& replaced);

// One line per table and reason: "測点データ3件を保存できませんでした：…";
// empty when every row was stored.
QString notStoredRowsText(const db::NotStoredRows& rows);

} // namespace vortan::intake
