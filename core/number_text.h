#pragma once
// The number-and-text rules every part of the program shares: reading numbers
// out of texts, the strict conversions of settings and grids, rounding, and the
// texts numbers are written as (SQL literals, grid cells, report cells). No
// other file re-implements any of them.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace vortan::numtext {

// Leading-number rule: the value of the longest numeric prefix of the text.
// Blanks, tabs and line feeds are skipped wherever they stand ("1 2" is 12);
// a sign, a decimal point and an exponent (E or D) are accepted; "&H..."
// (hexadecimal) and "&O..." (octal) prefixes are read as whole numbers: up
// to 16 bits without a closing '&' as a 16-bit pattern ("&HFFFF" is -1),
// otherwise as a 32-bit one ("&H000000FF&" is 255); the first character that
// cannot continue the number ends it. No number at all gives 0 ("50以上"
// gives 50, "abc" 0). A number beyond the double range throws overflow (6).
double leadingNumber(QStringView text);

// True when the whole text, blanks around it aside, is one number (sign,
// digits, decimal point, exponent; "&H..." hexadecimal). Empty text is false,
// and so are thousands separators ("1,234") and numbers beyond the range.
bool isNumeric(QStringView text);

// The numeric value of a text that isNumeric accepts.
std::optional<double> parseNumber(QStringView text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2).
double roundHalfEven(double value);

// Rounds to `decimals` places, halves away from zero, on the decimal text of
// the value (so 25.05 -> 25.1 and 2.675 -> 2.68, as the value reads).
double roundHalfAway(double value, int decimals);

// Strict conversions of a text: a text that is not numeric throws Failure
// with the type-mismatch number (13); a value out of range throws Failure
// with the overflow number (6). Whole numbers round halves to even.
std::int16_t toInt16Strict(QStringView text);
std::int32_t toInt32Strict(QStringView text);
float toSingleStrict(QStringView text);
double toDoubleStrict(QStringView text);
// Also accepts "True"/"False" (any letter case); 0 is false, any other number true.
bool toBoolStrict(QStringView text);

// Rounds halves to even and checks the 16-bit range; throws overflow (6).
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);
// Narrows to single precision; a value beyond the single range throws overflow (6).
float toSingle(double value);

// True when the text is numeric and its value lies within -32768..32767.
bool isInt16Value(QStringView text);

// Shortest decimal text of a single-precision value: at most 7 significant
// digits, a zero before the decimal point ("0.5"), "-" for negatives, never
// "-0". From 10,000,000 upwards and below 0.0001 the text carries an exponent
// of at least two digits ("1E+07", "1.677722E+07", "1.5E-05"). Used for SQL
// literals and settings. Every number-to-text function throws overflow (6)
// for infinities and NaN, which the original run-time could not hold.
QString shortestSingle(float value);

// The same for a double with at most 15 significant digits ("general number");
// the exponent starts at 1E+15.
QString shortestDouble(double value);
// The same text appended to `out` (its characters are ASCII, the same in
// every code page a file is written in).
void appendShortestDouble(double value, QByteArray& out);

// The double that shortestSingle's text stands for, as a statement literal
// of it stores the value (0.1f gives 0.1, not 0.100000001490116).
double shortestSingleValue(float value);

// Limit text of a single-precision setting: like shortestSingle but without
// the zero before the decimal point for values between -1 and 1 (".5", "-.5").
QString limitText(float value);

// Formats a number by a pattern of '0' (digit), '#' (optional digit), ','
// (thousands grouping when it stands between digit placeholders) and '.',
// rounding halves away from zero on the value's decimal text. Patterns in use:
// "0", "0.0", "0.00", "#,##0", "#,##0.0", "#,##0.00", "#.0". Other characters
// are literal text ("0.00 m"; a backslash quotes the next character and double
// quotes quote a run); a value that rounds to zero is written without "-".
// A pattern without placeholders gives the general number text.
QString formatNumber(double value, QStringView pattern);
// The same for a single-precision value, read at its own 7-digit precision.
QString formatSingle(float value, QStringView pattern);

// Formats a text by a number pattern: a numeric text is formatted, a text that
// is not a number passes unchanged, and an empty text gives the empty text.
QString formatText(QStringView text, QStringView pattern);

// Character pattern of '&' placeholders and literal characters, filled from
// the right; characters beyond the placeholders stay at the left ("& &" makes
// "砂質土" "砂質 土"). A '&' without a character left gives nothing, a '@' a
// blank; literal characters are always written.
QString formatCharacters(QStringView text, QStringView pattern);

} // namespace vortan::numtext
