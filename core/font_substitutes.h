#pragma once
// The report and screen fonts of the program's first platform stand in for
// free fonts where they are absent: "ＭＳ Ｐゴシック" by IPAPGothic, "ＭＳ Ｐ明朝"
// by IPAPMincho, "ＭＳ ゴシック" by IPAGothic (Debian: fonts-ipafont). Pages
// therefore look alike on every platform.

#include <QFont>

namespace vortan {

// Registers the substitutes with Qt's font matching (once per process is enough).
void RegisterFontSubstitutes();

// `font` as the program's screen font: "ＭＳ Ｐゴシック" (its free substitute
// where absent) at 10 points.
QFont ScreenFont(QFont font);

} // namespace vortan
