#include "core/number_text.h"

#include "core/failure.h"

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace vortan::numtext {

namespace {

const QString kSource = QStringLiteral("numtext");

[[noreturn]] void throwTypeMismatch(QStringView text)
{
    throw Failure(err::TypeMismatch, QStringLiteral("型が一致しません。"),
                  kSource + QStringLiteral(": \"") + text.toString() + QLatin1Char('"'));
}

[[noreturn]] void throwOverflow()
{
    throw Failure(err::Overflow, QStringLiteral("オーバーフローしました。"), kSource);
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// What one scan of a number at the start of an ASCII text found.
struct Scan {
    std::size_t length = 0; // characters that belong to the number; 0 = no number
    double value = 0.0;
    bool overflow = false;  // the number is there but too large for a double
};

// "&H..." / "&O..." whole numbers. Up to 16 bits without the '&' type suffix
// the digits are a 16-bit pattern (so "&HFFFF" is -1), otherwise a 32-bit one
// (so "&HFFFFFFFF" is -1 and "&HFFFF&" is 65535); more than 32 bits overflow.
Scan scanRadix(const std::string& s)
{
    Scan scan;
    if (s.size() < 2 || s[0] != '&')
        return scan;
    const char kind = s[1];
    int radix = 0;
    if (kind == 'H' || kind == 'h')
        radix = 16;
    else if (kind == 'O' || kind == 'o')
        radix = 8;
    else
        return scan;

    std::size_t i = 2;
    std::uint64_t value = 0;
    bool tooLarge = false;
    while (i < s.size()) {
        const int digit = hexValue(s[i]);
        if (digit < 0 || digit >= radix)
            break;
        value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull)
            tooLarge = true;
        ++i;
    }
    if (i == 2)
        return scan; // "&H" with no digit is no number
    bool longSuffix = false;
    if (i < s.size() && s[i] == '&') {
        longSuffix = true;
        ++i;
    }
    scan.length = i;
    if (tooLarge) {
        scan.overflow = true;
        return scan;
    }
    if (!longSuffix && value <= 0xFFFFull)
        scan.value = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    else
        scan.value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return scan;
}

// The value of digits read as a whole number times ten to `power`, when
// that can be had exactly from one multiplication or division (at most
// fifteen digits, powers of ten up to 22): the correctly rounded value, as
// the general conversion would find it.
std::optional<double> quickDecimalValue(std::string_view intDigits, std::string_view fracDigits, long long power)
{
    std::uint64_t mantissa = 0;
    int significant = 0;
    for (const std::string_view part : {intDigits, fracDigits}) {
        for (const char c : part) {
            if (significant == 0 && c == '0')
                continue;
            if (++significant > 15)
                return std::nullopt;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        }
    }
    power -= static_cast<long long>(fracDigits.size());
    if (mantissa == 0)
        return 0.0;
    static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (power < -22 || power > 22)
        return std::nullopt;
    const double m = static_cast<double>(mantissa);
    return power >= 0 ? m * Powers[power] : m / Powers[-power];
}

// Sign, digits with at most one decimal point, and an exponent introduced by
// E or D (the latter as the run-time accepted it). An exponent marker without
// digits after it is not part of the number.
Scan scanDecimal(const std::string& s)
{
    Scan scan;
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::string_view all(s);
    const std::size_t intBegin = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    const std::string_view intDigits = all.substr(intBegin, i - intBegin);
    std::string_view fracDigits;
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        fracDigits = all.substr(i + 1, j - i - 1);
        if (!intDigits.empty() || !fracDigits.empty())
            i = j;
    }
    if (intDigits.empty() && fracDigits.empty())
        return scan;

    std::string_view exponent;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        const std::size_t digitsBegin = j;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        if (j > digitsBegin) {
            exponent = all.substr(i + 1, j - i - 1);
            i = j;
        }
    }
    scan.length = i;

    const bool expNegative = !exponent.empty() && exponent[0] == '-';
    const std::string_view expDigits =
        exponent.empty() ? std::string_view() : exponent.substr((exponent[0] == '+' || exponent[0] == '-') ? 1 : 0);
    long long expValue = 0;
    for (char c : expDigits) {
        expValue = expValue * 10 + (c - '0');
        if (expValue > 1000000)
            break;
    }
    const long long power = expNegative ? -expValue : expValue;

    double value = 0.0;
    if (const std::optional<double> quick = quickDecimalValue(intDigits, fracDigits, power)) {
        value = *quick;
    } else {
        std::string text(intDigits.empty() ? std::string_view("0") : intDigits);
        text += '.';
        text += fracDigits.empty() ? std::string_view("0") : fracDigits;
        if (!exponent.empty()) {
            text += 'e';
            text += exponent;
        }
        bool ok = false;
        value = QByteArray::fromStdString(text).toDouble(&ok);
        if (!ok) {
            // Out of the double range one way or the other: decide by the
            // decimal position of the first significant digit.
            const std::string digits = std::string(intDigits) + std::string(fracDigits);
            const auto first = digits.find_first_not_of('0');
            if (first == std::string::npos) {
                value = 0.0;
            } else {
                const long long magnitude =
                    static_cast<long long>(intDigits.size()) - static_cast<long long>(first) + power;
                if (magnitude > 0) {
                    scan.overflow = true;
                    return scan;
                }
                value = 0.0;
            }
        }
    }
    scan.value = negative ? -value : value;
    if (scan.value == 0.0)
        scan.value = 0.0; // no negative zero
    return scan;
}

Scan scanNumber(const std::string& s)
{
    if (!s.empty() && s[0] == '&')
        return scanRadix(s);
    return scanDecimal(s);
}

// The ASCII characters of a text up to its first non-ASCII character, which
// can never continue a number.
std::string asciiPrefix(QStringView text, bool dropBlanks)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= 0x80)
            break;
        if (dropBlanks && (c == u' ' || c == u'\t' || c == u'\n'))
            continue;
        out += static_cast<char>(c);
    }
    return out;
}

QStringView trimmedBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin].unicode()))
        ++begin;
    while (end > begin && isBlank(text[end - 1].unicode()))
        --end;
    return text.sliced(begin, end - begin);
}

// A number as its significant decimal digits: value = d0.d1d2... x 10^exponent.
// No digits means zero. Trailing zeros are dropped.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The digits and exponent of a "d.ddde+XX" text.
Decimal decimalOfScientific(const char* begin, const char* end, bool negative)
{
    Decimal d;
    d.negative = negative;
    const char* e = begin;
    while (e != end && *e != 'e')
        ++e;
    for (const char* c = begin; c != e; ++c)
        if (*c != '.')
            d.digits += *c;
    if (e != end) {
        const char* c = e + 1;
        const bool negativeExponent = c != end && *c == '-';
        if (c != end && (*c == '-' || *c == '+'))
            ++c;
        for (; c != end; ++c)
            d.exponent = d.exponent * 10 + (*c - '0');
        if (negativeExponent)
            d.exponent = -d.exponent;
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// The value rounded to `significant` digits, the way the run-time read a
// double (15 digits) or a single (7 digits) before writing it.
Decimal decimalOf(double value, int significant)
{
    if (!std::isfinite(value))
        throwOverflow();
    if (value == 0.0)
        return Decimal();
    char buffer[64];
    if (significant == 15 && std::fabs(value) >= std::numeric_limits<double>::min()) {
        // A double (not a denormal one) lies within a ninth of a
        // fifteen-digit step of its shortest text; when that text has
        // fifteen digits or fewer it is therefore the value rounded to
        // fifteen digits, found without the slow exact rounding.
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
        qsizetype digits = 0;
        for (const char* c = buffer; c != r.ptr && *c != 'e'; ++c)
            digits += *c != '.' ? 1 : 0;
        if (digits <= 15)
            return decimalOfScientific(buffer, r.ptr, value < 0);
    }
    // Always "d.ddde+XX" in the C locale, correctly rounded, halves up.
    const QByteArray text = QByteArray::number(std::fabs(value), 'e', significant - 1);
    return decimalOfScientific(text.cbegin(), text.cend(), value < 0);
}

// A single rounded to seven digits. Its shortest text is that rounding when
// it has seven digits or fewer and the single's step is smaller than a
// seven-digit step there, so that no other seven-digit number reads back as
// the same single.
Decimal decimalOfSingle(float value)
{
    if (!std::isfinite(value))
        throwOverflow();
    if (value == 0.0f)
        return Decimal();
    const float magnitude = std::fabs(value);
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    Decimal d = decimalOfScientific(buffer, r.ptr, value < 0);
    if (d.digits.size() <= 7) {
        // A power of ten may have been rounded up from the decade below:
        // take that decade's finer steps.
        const int decade = d.digits == "1" ? d.exponent - 1 : d.exponent;
        // Seven-digit steps 10^(decade - 6) of the singles' decades (10^-52
        // to 10^32), near enough for a comparison with a single's step, a
        // power of two that is never within 0.9 % of a power of ten.
        static const std::array<double, 90> Steps = [] {
            std::array<double, 90> steps{};
            for (std::size_t i = 0; i < steps.size(); ++i)
                steps[i] = std::pow(10.0, static_cast<double>(i) - 60);
            return steps;
        }();
        const int index = decade - 6 + 60;
        const double step = static_cast<double>(std::nextafter(magnitude, std::numeric_limits<float>::infinity()))
            - static_cast<double>(magnitude);
        if (index >= 0 && index < static_cast<int>(Steps.size()) && step < Steps[std::size_t(index)])
            return d;
    }
    return decimalOf(static_cast<double>(value), 7);
}

// Rounds to `decimals` places after the point, halves away from zero, on the
// digits (so 2.675 read as "2.675" becomes 2.68).
Decimal roundedTo(Decimal d, int decimals)
{
    if (d.digits.empty())
        return d;
    const long long keep = static_cast<long long>(d.exponent) + 1 + decimals;
    if (keep >= static_cast<long long>(d.digits.size()))
        return d;
    if (keep < 0) {
        d.digits.clear();
        return d;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = d.digits.size();
        while (i > 0 && d.digits[i - 1] == '9') {
            d.digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[i - 1];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.negative = false;
    return d;
}

// Digit at decimal position `power` (0 = units, 1 = tens, -1 = tenths).
char digitAt(const Decimal& d, int power)
{
    const long long index = static_cast<long long>(d.exponent) - power;
    if (index < 0 || index >= static_cast<long long>(d.digits.size()))
        return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

QString integerDigits(const Decimal& d)
{
    QString out;
    if (d.digits.empty())
        return out;
    for (int power = d.exponent; power >= 0; --power)
        out += QLatin1Char(digitAt(d, power));
    return out; // empty when the value is below 1
}

// The run-time's general text of a value: at most `significant` digits, no
// trailing zeros, a zero before the point, and an exponent ("1E+07",
// "1.5E-05") from 10^significant upwards and below 0.0001.
// Written into `out` (room for GeneralTextBytes); returns the end.
constexpr int GeneralTextBytes = 48;   // a sign, 15 digits, "0." and three zeros, or an exponent
char* writeGeneralText(const Decimal& d, int significant, bool zeroBeforePoint, char* out)
{
    char* o = out;
    if (d.digits.empty()) {
        *o++ = '0';
        return o;
    }
    if (d.negative)
        *o++ = '-';
    const char* digits = d.digits.data();
    const int count = static_cast<int>(d.digits.size());
    if (d.exponent >= significant || d.exponent < -4) {
        *o++ = digits[0];
        if (count > 1) {
            *o++ = '.';
            o = std::copy(digits + 1, digits + count, o);
        }
        *o++ = 'E';
        *o++ = d.exponent < 0 ? '-' : '+';
        const int exponent = std::abs(d.exponent);
        if (exponent >= 100)
            *o++ = static_cast<char>('0' + exponent / 100);
        *o++ = static_cast<char>('0' + exponent / 10 % 10);
        *o++ = static_cast<char>('0' + exponent % 10);
    } else if (d.exponent < 0) {
        if (zeroBeforePoint)
            *o++ = '0';
        *o++ = '.';
        for (int zeros = -d.exponent - 1; zeros > 0; --zeros)
            *o++ = '0';
        o = std::copy(digits, digits + count, o);
    } else {
        // Whole digits (padded with zeros), then the fraction if any.
        const int whole = d.exponent + 1;
        for (int i = 0; i < whole; ++i)
            *o++ = i < count ? digits[i] : '0';
        if (count > whole) {
            *o++ = '.';
            o = std::copy(digits + whole, digits + count, o);
        }
    }
    return o;
}

QString generalText(const Decimal& d, int significant, bool zeroBeforePoint)
{
    char out[GeneralTextBytes];
    const char* end = writeGeneralText(d, significant, zeroBeforePoint, out);
    return QString::fromLatin1(out, end - out);
}

// A number pattern taken apart: literal text before and after the digit
// placeholders, the placeholders of the whole part and of the fraction.
struct Pattern {
    QString prefix;
    QString suffix;
    int minWhole = 0;        // '0' placeholders before the point
    bool grouping = false;   // ',' between whole-part placeholders
    bool hasPoint = false;
    int minFraction = 0;     // fraction places always written
    int maxFraction = 0;     // fraction places written when not zero
    bool hasPlaceholders = false;
};

Pattern parsePattern(QStringView pattern)
{
    // Tokens: a placeholder character or a piece of literal text.
    struct Token {
        QChar placeholder; // null for literal text
        QString literal;
    };
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'0' || c == u'#' || c == u'.' || c == u',') {
            tokens.push_back({c, {}});
        } else if (c == u'\\' && i + 1 < pattern.size()) {
            tokens.push_back({QChar(), QString(pattern[++i])});
        } else if (c == u'"') {
            QString literal;
            ++i;
            while (i < pattern.size() && pattern[i] != u'"')
                literal += pattern[i++];
            tokens.push_back({QChar(), literal});
        } else {
            tokens.push_back({QChar(), QString(c)});
        }
    }

    Pattern p;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < static_cast<qsizetype>(tokens.size()); ++i) {
        const QChar c = tokens[static_cast<std::size_t>(i)].placeholder;
        if (c == u'0' || c == u'#' || c == u'.') {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        for (const Token& t : tokens)
            p.prefix += t.placeholder.isNull() ? t.literal : QString(t.placeholder);
        return p;
    }
    p.hasPlaceholders = true;
    bool inFraction = false;
    bool seenWholeDigit = false;
    for (qsizetype i = 0; i < static_cast<qsizetype>(tokens.size()); ++i) {
        const Token& t = tokens[static_cast<std::size_t>(i)];
        if (i < first || i > last) {
            (i < first ? p.prefix : p.suffix) += t.placeholder.isNull() ? t.literal : QString(t.placeholder);
            continue;
        }
        if (t.placeholder.isNull()) {
            // Literal text among the placeholders is written after the number.
            p.suffix += t.literal;
            continue;
        }
        const QChar c = t.placeholder;
        if (c == u'.') {
            if (!inFraction) {
                inFraction = true;
                p.hasPoint = true;
            }
        } else if (c == u',') {
            if (!inFraction && seenWholeDigit)
                p.grouping = true;
        } else if (inFraction) {
            ++p.maxFraction;
            if (c == u'0')
                p.minFraction = p.maxFraction;
        } else {
            seenWholeDigit = true;
            if (c == u'0')
                ++p.minWhole;
        }
    }
    return p;
}

QString grouped(const QString& digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

QString formatDecimal(const Decimal& value, QStringView patternText, int significant)
{
    const Pattern p = parsePattern(patternText);
    if (!p.hasPlaceholders)
        return generalText(value, significant, true) + p.prefix;

    const Decimal d = roundedTo(value, p.maxFraction);
    QString whole = integerDigits(d);
    while (whole.size() < p.minWhole)
        whole.prepend(QLatin1Char('0'));
    if (p.grouping)
        whole = grouped(whole);
    QString fraction;
    for (int power = -1; power >= -p.maxFraction; --power)
        fraction += QLatin1Char(digitAt(d, power));
    while (fraction.size() > p.minFraction && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    QString out;
    if (d.negative && !d.digits.empty())
        out += QLatin1Char('-');
    out += p.prefix;
    out += whole;
    if (p.hasPoint)
        out += QLatin1Char('.');
    out += fraction;
    out += p.suffix;
    return out;
}

} // namespace

double leadingNumber(QStringView text)
{
    const Scan scan = scanNumber(asciiPrefix(text, true));
    if (scan.overflow)
        throwOverflow();
    return scan.value;
}

bool isNumeric(QStringView text)
{
    const QStringView core = trimmedBlanks(text);
    if (core.isEmpty())
        return false;
    const std::string ascii = asciiPrefix(core, false);
    if (static_cast<qsizetype>(ascii.size()) != core.size())
        return false;
    const Scan scan = scanNumber(ascii);
    return scan.length == ascii.size() && !scan.overflow;
}

std::optional<double> parseNumber(QStringView text)
{
    // isNumeric's test, keeping the value of its one scan.
    const QStringView core = trimmedBlanks(text);
    if (core.isEmpty())
        return std::nullopt;
    const std::string ascii = asciiPrefix(core, false);
    if (static_cast<qsizetype>(ascii.size()) != core.size())
        return std::nullopt;
    const Scan scan = scanNumber(ascii);
    if (scan.length != ascii.size() || scan.overflow)
        return std::nullopt;
    return scan.value;
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double below = std::floor(value);
    const double diff = value - below;
    double result;
    if (diff > 0.5)
        result = below + 1.0;
    else if (diff < 0.5)
        result = below;
    else
        result = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    return result == 0.0 ? 0.0 : result;
}

double roundHalfAway(double value, int decimals)
{
    const Decimal d = roundedTo(decimalOf(value, 15), decimals);
    if (d.digits.empty())
        return 0.0;
    const QByteArray text = QByteArray(d.negative ? "-0." : "0.") + QByteArray(d.digits.c_str())
        + 'e' + QByteArray::number(d.exponent + 1);
    return text.toDouble();
}

std::int16_t toInt16(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        throwOverflow();
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throwOverflow();
    return static_cast<std::int32_t>(r);
}

float toSingle(double value)
{
    if (!(std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max())))
        throwOverflow();
    return static_cast<float>(value);
}

namespace {

double strictValue(QStringView text)
{
    const QStringView core = trimmedBlanks(text);
    const std::string ascii = asciiPrefix(core, false);
    if (core.isEmpty() || static_cast<qsizetype>(ascii.size()) != core.size())
        throwTypeMismatch(text);
    const Scan scan = scanNumber(ascii);
    if (scan.length != ascii.size())
        throwTypeMismatch(text);
    if (scan.overflow)
        throwOverflow();
    return scan.value;
}

} // namespace

std::int16_t toInt16Strict(QStringView text) { return toInt16(strictValue(text)); }

std::int32_t toInt32Strict(QStringView text) { return toInt32(strictValue(text)); }

float toSingleStrict(QStringView text) { return toSingle(strictValue(text)); }

double toDoubleStrict(QStringView text) { return strictValue(text); }

bool toBoolStrict(QStringView text)
{
    const QStringView core = trimmedBlanks(text);
    if (core.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (core.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    return strictValue(text) != 0.0;
}

bool isInt16Value(QStringView text)
{
    const std::optional<double> value = parseNumber(text);
    return value && *value >= -32768.0 && *value <= 32767.0;
}

QString shortestSingle(float value)
{
    return generalText(decimalOfSingle(value), 7, true);
}

double shortestSingleValue(float value)
{
    const Decimal d = decimalOfSingle(value);
    if (d.digits.empty())
        return 0.0;
    const long long power = static_cast<long long>(d.exponent) - static_cast<long long>(d.digits.size()) + 1;
    if (const std::optional<double> quick = quickDecimalValue(d.digits, std::string_view(), power))
        return d.negative ? -*quick : *quick;
    return generalText(d, 7, true).toDouble();
}

QString shortestDouble(double value)
{
    return generalText(decimalOf(value, 15), 15, true);
}

void appendShortestDouble(double value, QByteArray& out)
{
    char text[GeneralTextBytes];
    const char* end = writeGeneralText(decimalOf(value, 15), 15, true, text);
    out.append(text, end - text);
}

QString limitText(float value)
{
    return generalText(decimalOfSingle(value), 7, false);
}

QString formatNumber(double value, QStringView pattern)
{
    return formatDecimal(decimalOf(value, 15), pattern, 15);
}

QString formatSingle(float value, QStringView pattern)
{
    return formatDecimal(decimalOfSingle(value), pattern, 7);
}

QString formatText(QStringView text, QStringView pattern)
{
    if (text.isEmpty())
        return QString();
    const std::optional<double> value = parseNumber(text);
    if (!value)
        return text.toString();
    return formatNumber(*value, pattern);
}

QString formatCharacters(QStringView text, QStringView pattern)
{
    const QList<uint> chars = text.toUcs4();
    const QList<uint> patternChars = pattern.toUcs4();
    qsizetype next = chars.size(); // characters are taken from the right
    QList<uint> filled;
    for (qsizetype i = patternChars.size() - 1; i >= 0; --i) {
        const uint c = patternChars[i];
        if (c == u'&' || c == u'@') {
            if (next > 0)
                filled.prepend(chars[--next]);
            else if (c == u'@')
                filled.prepend(u' ');
        } else {
            filled.prepend(c);
        }
    }
    filled = chars.mid(0, next) + filled;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(filled.constData()), filled.size());
}

} // namespace vortan::numtext
