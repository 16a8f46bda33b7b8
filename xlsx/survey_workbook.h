#pragma once
// The Excel workbook of one survey, as the data sheet holds it: a sheet
// "調査概要" with the survey's header fields and its points table, one sheet
// per point with the record sheet's columns and a bar chart of Nd against
// depth, and a sheet "全測点" with every record of every point in one table
// for filters and pivot tables. Numbers are number cells with the record
// sheet's number formats, texts such as "50以上" stay texts, empty cells stay
// empty.

#include <QString>

namespace vortan {
struct ProgramState;
}
namespace vortan::sheet {
class SurveyDocument;
}

namespace vortan::xlsx {

// The names of the two fixed sheets.
QString summarySheetName();
QString allPointsSheetName();

// Writes the workbook to `path`: built in a temporary folder, then put in
// place whole, so that a failure leaves an older file of that name as it
// was. A path that is one of the program's own files (the open survey
// database at `openDatabase`, the settings and side files of `state`) or
// that is no plain file is refused (52) before anything is written. Throws
// Failure (52, the numbers of writeFileAtomically, 7 when memory ran out,
// 75 when the temporary workbook could not be made).
void WriteSurveyWorkbook(const sheet::SurveyDocument& document, const ProgramState& state, const QString& path,
                         const QString& openDatabase = QString());

} // namespace vortan::xlsx
