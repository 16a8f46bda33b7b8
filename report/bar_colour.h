#pragma once
// The colour of a graph bar: by the soil (its colour in the soil master) or,
// by the setting グラフの色の選定基準, by the level the row's Nd, qa or Mv falls
// in. Levels are tested 1, 2, 3 in order (lower bound inclusive, upper bound
// exclusive), so overlapping bands resolve to the lower level; a value in no
// level is black.

#include "report/colour_number.h"
#include "report/soil_colour_cache.h"

#include <array>

namespace vortan {
struct AppSettings;
}

namespace vortan::report {

class BarColour {
public:
    BarColour(const AppSettings& settings, SoilColourCache& soils);

    ColourNumber colour(const QString& soil, double nd, double qa, double mv);
    // True when the colour follows the soil alone (Nd, qa and Mv go unread).
    bool bySoil() const { return basis_ == 0; }

private:
    struct Level {
        double lower;
        double upper;
        ColourNumber colour;
    };
    int basis_;
    std::array<Level, 3> levels_;
    SoilColourCache& soils_;
};

} // namespace vortan::report
