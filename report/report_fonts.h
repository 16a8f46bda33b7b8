#pragma once
// The fonts the report pages name (their free stand-ins are registered by
// RegisterFontSubstitutes).

#include <QString>

namespace vortan::report {

inline QString gothicFont() { return QStringLiteral("ＭＳ Ｐゴシック"); }     // titles and labels
inline QString minchoFont() { return QStringLiteral("ＭＳ Ｐ明朝"); }         // values
inline QString fixedGothicFont() { return QStringLiteral("ＭＳ ゴシック"); }  // depth-chart columns

} // namespace vortan::report
