#pragma once
// The bearing capacity factors Nc, Nγ, Nq by internal friction angle, taken
// from the rows of rqtbl.csv. The table's texts are read once into numbers
// (by the leading-number rule) so that a recalculation of many rows does not
// parse them again for every row.

#include "core/program_state.h"

#include <vector>

namespace vortan::calc {

// How φ is brought to one decimal place before the table is searched.
enum class PhiRounding : int {
    RoundUp = 0,      // 切り上げ: ⌊10·φ + 1⌋ / 10 (25.0 gives 25.1)
    Truncate = 1,     // 切り捨て: ⌊10·φ⌋ / 10
    HalfAway = 2,     // 四捨五入: one decimal, halves away from zero
};

struct BearingFactors {
    double nc = 0;
    double ngamma = 0;
    double nq = 0;
};

// φ rounded by the record's mode; any other mode number leaves φ as it is.
double roundPhi(double phi, int mode);

class BearingFactorTable {
public:
    BearingFactorTable() = default;
    explicit BearingFactorTable(const std::vector<BearingFactorRow>& rows);

    // The factors of the row whose φ equals the rounded φ (the later row when
    // two rows hold it). When no row holds it and the unrounded φ lies beyond
    // the table's final data row, that row's factors; otherwise zeros.
    BearingFactors lookUpFactors(double phi, int mode) const;

    bool empty() const { return rows_.empty(); }

private:
    struct Row {
        double phi;
        BearingFactors factors;
    };
    std::vector<Row> rows_;
    // The final data row: the last row whose φ field holds a number, so that
    // a trailing line without an angle does not stand for the table's end.
    int lastDataRow_ = -1;
};

} // namespace vortan::calc
