#pragma once
// Survey numbers (調査地区No) are whole numbers from 1 to 2147483647. Every
// place where a survey number enters the program (the card import's number
// box, the data sheet, a line of an exchange file, the command line, the
// numbering of an import in add mode) reads it here, so that no survey is
// stored under 0, under a negative number or beyond the 32-bit range, where
// the next "largest number + 1" would no longer fit.

#include <QString>
#include <QStringView>
#include <cstdint>

namespace vortan {

inline constexpr std::int32_t LargestSurveyNumber = 2147483647;

// The survey number a text gives, read as whole numbers are read everywhere
// (blanks around it ignored, halves rounded to the even neighbour). A text
// that is not a number throws type mismatch (13); a value that rounds to
// less than 1 or beyond LargestSurveyNumber throws overflow (6). The
// failures name the text and carry `source`.
std::int32_t ReadSurveyNumber(QStringView text, const QString& source);

// A survey number that was computed (the largest number plus a count): a
// value outside 1..LargestSurveyNumber throws overflow (6).
std::int32_t CheckedSurveyNumber(std::int64_t value, const QString& source);

} // namespace vortan
