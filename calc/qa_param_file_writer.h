#pragma once
// Rewriting qaTbl.tbl for one series: the records of every other series are
// kept in their order and the records of the series are appended after them.
// The new content is written whole into the scratch file "Qadel.tbl" beside
// it, which then takes the old file's place in one rename; when anything
// fails before that rename the old file stays as it was and the scratch file
// is removed. File names are matched without regard to letter case, so an
// existing "QATBL.TBL" is the file rewritten, under its own name.

#include "calc/qa_param_record.h"

#include <QIODevice>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vortan::calc {

inline constexpr auto QaScratchFileName = "Qadel.tbl";

// The path of the file `name` in `folder`, matched without regard to letter
// case; folder + name when there is no such file.
QString FindFileIgnoringCase(const QString& folder, const QString& name);

// Opens the scratch file for writing; tests hand in a failing device.
using ScratchOpener = std::function<std::unique_ptr<QIODevice>(const QString& path)>;

// Replaces the records of series `code` in the qaTbl.tbl of `folder` with
// `records` (their series codes are written as given). A missing file counts
// as empty. Throws Failure when the file cannot be read or the new one cannot
// be written or put in place; the old file is then untouched.
void ReplaceQaSeries(const QString& folder, std::int16_t code, const std::vector<QaParamRecord>& records,
                     const ScratchOpener& openScratch = {});

} // namespace vortan::calc
