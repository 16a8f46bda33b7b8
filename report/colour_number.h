#pragma once
// Colour numbers as the settings and the soil master keep them: 32-bit
// 0x00BBGGRR values (red in the low byte), held in settings as decimal text.

#include <QColor>
#include <QString>
#include <cstdint>

namespace vortan::report {

using ColourNumber = std::uint32_t;

inline constexpr ColourNumber Black = 0x000000;
inline constexpr ColourNumber Red = 0x0000FF;
inline constexpr ColourNumber PreviewOutlineGrey = 0xD0D0D0;

QColor toQColor(ColourNumber number);
ColourNumber fromQColor(const QColor& colour);

// The colour number of a settings text by the leading-number rule; values
// outside 0..0xFFFFFF keep their low 24 bits.
ColourNumber colourFromText(const QString& text);
QString colourToText(ColourNumber number);

} // namespace vortan::report
