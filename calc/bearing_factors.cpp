#include "calc/bearing_factors.h"

#include "core/number_text.h"

#include <cmath>

namespace vortan::calc {

double roundPhi(double phi, int mode)
{
    switch (static_cast<PhiRounding>(mode)) {
    case PhiRounding::RoundUp:
        return std::floor(10.0 * phi + 1.0) / 10.0;
    case PhiRounding::Truncate:
        return std::floor(10.0 * phi) / 10.0;
    case PhiRounding::HalfAway:
        return numtext::leadingNumber(numtext::formatNumber(phi, u"#.0"));
    }
    return phi;
}

BearingFactorTable::BearingFactorTable(const std::vector<BearingFactorRow>& rows)
{
    rows_.reserve(rows.size());
    for (const BearingFactorRow& row : rows) {
        rows_.push_back(Row{numtext::leadingNumber(row.phi),
                            BearingFactors{numtext::leadingNumber(row.nc),
                                           numtext::leadingNumber(row.ngamma),
                                           numtext::leadingNumber(row.nq)}});
        if (numtext::isNumeric(row.phi))
            lastDataRow_ = static_cast<int>(rows_.size()) - 1;
    }
}

BearingFactors BearingFactorTable::lookUpFactors(double phi, int mode) const
{
    const double rounded = roundPhi(phi, mode);
    // Searching from the end finds the row a full forward scan would keep last.
    for (auto row = rows_.rbegin(); row != rows_.rend(); ++row) {
        if (row->phi == rounded)
            return row->factors;
    }
    if (lastDataRow_ >= 0 && phi > rows_[static_cast<std::size_t>(lastDataRow_)].phi)
        return rows_[static_cast<std::size_t>(lastDataRow_)].factors;
    return BearingFactors();
}

} // namespace vortan::calc
