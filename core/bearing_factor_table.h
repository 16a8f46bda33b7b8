#pragma once
// rqtbl.csv in the settings folder: the bearing capacity factors by internal
// friction angle. Every line is a data row of four comma-separated fields
// (φ in degrees, Nc, Nγ, Nq), kept as the texts they are; the calculation
// takes their values by the leading-number rule.

#include "core/program_state.h"

#include <QByteArrayView>
#include <QString>
#include <vector>

namespace vortan {

inline constexpr auto BearingFactorFileName = "rqtbl.csv";

// The rows of the file's bytes (code page 932). Blanks around a field and one
// pair of double quotes around it are removed; a line with fewer than four
// fields leaves the missing ones empty, fields after the fourth are ignored;
// empty lines hold no row.
std::vector<BearingFactorRow> parseBearingFactorTable(QByteArrayView bytes);

// Replaces `table` with the rows of the file in the settings folder. When the
// file is absent or cannot be read the table keeps the rows it had and the
// result is false.
bool LoadBearingFactorTable(const QString& settingsFolder, std::vector<BearingFactorRow>& table);

} // namespace vortan
