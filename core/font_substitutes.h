#pragma once
// The report and screen fonts of the program's first platform stand in for
// free fonts where they are absent: "ＭＳ Ｐゴシック" by IPAPGothic, "ＭＳ Ｐ明朝"
// by IPAPMincho, "ＭＳ ゴシック" by IPAGothic (Debian: fonts-ipafont). Pages
// therefore look alike on every platform.

namespace vortan {

// Registers the substitutes with Qt's font matching (once per process is enough).
void RegisterFontSubstitutes();

} // namespace vortan
