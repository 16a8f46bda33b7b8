#pragma once
// Code page 932, the Japanese ANSI code page of the users' systems: the memory
// card files and the survey exchange files are written in it. It is Shift_JIS
// with the vendor extensions ("～" is 0x8160, "①" 0x8740, NEC and IBM
// extension kanji such as "髙" 0xFBFC, user-defined characters 0xF040-0xF9FC
// as private-use characters), so plain Shift_JIS will not do.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vortan::cp932 {

// Bytes to text. A byte or byte pair that code page 932 does not define
// (0x80, 0xA0, 0xFD-0xFF, a lead byte without a valid trail byte) becomes
// U+FFFD, one per offending sequence; everything else decodes as Windows does.
QString decode(QByteArrayView bytes);

// The code page 932 counterpart Windows writes for a character of the JIS
// mapping that code page 932 lacks: 〜 U+301C as ～ U+FF5E, − U+2212 as
// － U+FF0D, ‖ U+2016 as ∥ U+2225, ¢ ¬ £ as ￠ ￢ ￡, — U+2014 as ― U+2015.
// Every other character comes back as it is.
QChar windowsForm(QChar character);

// Text to bytes. Characters of the JIS mapping take their Windows
// counterparts; a character that has no code page 932 form even so (for
// example "€", "é" or an emoji) is written as "?", one per character.
// Characters with two forms in the code page take the one Windows writes
// (¬ 0x81CA, Ⅰ 0x8754, ⅰ 0xFA40, NEC-selected IBM extensions as IBM
// extensions).
QByteArray encode(QStringView text);

// True when every character of the text has a code page 932 form (its
// Windows counterpart counts).
bool canEncode(QStringView text);

// The characters of the text that encode() writes as "?", each once, in
// order (a character outside the basic plane as its surrogate pair).
QStringList unencodableCharacters(QStringView text);

} // namespace vortan::cp932
