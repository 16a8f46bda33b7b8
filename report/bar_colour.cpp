#include "report/bar_colour.h"

#include "core/app_settings.h"
#include "core/number_text.h"

namespace vortan::report {

BarColour::BarColour(const AppSettings& s, SoilColourCache& soils) : soils_(soils)
{
    const double basis = numtext::leadingNumber(s.グラフの色の選定基準);
    basis_ = basis >= 1 && basis <= 3 ? static_cast<int>(basis) : 0;
    const auto level = [](const QString& lower, const QString& upper, const QString& colour) {
        return Level{numtext::leadingNumber(lower), numtext::leadingNumber(upper), colourFromText(colour)};
    };
    levels_ = {level(s.Level1_0, s.Level1_1, s.Level1_Color), level(s.Level2_0, s.Level2_1, s.Level2_Color),
               level(s.Level3_0, s.Level3_1, s.Level3_Color)};
}

ColourNumber BarColour::colour(const QString& soil, double nd, double qa, double mv)
{
    if (basis_ == 0)
        return soils_.colourOf(soil);
    const double v = basis_ == 1 ? nd : basis_ == 2 ? qa : mv;
    for (const Level& level : levels_) {
        if (level.lower <= v && v < level.upper)
            return level.colour;
    }
    return Black;
}

} // namespace vortan::report
