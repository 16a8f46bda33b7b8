#include "core/survey_number.h"

#include "core/failure.h"
#include "core/number_text.h"

namespace vortan {

namespace {

[[noreturn]] void outOfRange(const QString& shown, const QString& source)
{
    throw Failure(err::Overflow,
                  QStringLiteral("調査地区No %1 は使えません。調査地区Noは1から%2までの整数です。")
                      .arg(shown)
                      .arg(LargestSurveyNumber),
                  source);
}

} // namespace

std::int32_t ReadSurveyNumber(QStringView text, const QString& source)
{
    double value = 0;
    try {
        value = numtext::toDoubleStrict(text);
    } catch (const Failure& failure) {
        if (failure.number() == err::Overflow)
            outOfRange(text.trimmed().toString(), source);
        throw Failure(err::TypeMismatch,
                      QStringLiteral("調査地区No「%1」は数値ではありません。").arg(text.toString()), source);
    }
    const double rounded = numtext::roundHalfEven(value);
    if (!(rounded >= 1.0 && rounded <= static_cast<double>(LargestSurveyNumber)))
        outOfRange(text.trimmed().toString(), source);
    return static_cast<std::int32_t>(rounded);
}

std::int32_t CheckedSurveyNumber(std::int64_t value, const QString& source)
{
    if (value < 1 || value > LargestSurveyNumber)
        outOfRange(QString::number(value), source);
    return static_cast<std::int32_t>(value);
}

} // namespace vortan
