#pragma once
// One line of the survey exchange file: fields split at every comma with no
// quoting rule, every double quote removed. Version 2.0 lines carry 29
// fields, version 1.0 lines the first 28, which read their point number in
// place of the printed point number (field 29).

#include "db/survey_store.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace vortan::intake {

// Error number of a field asked beyond the end of a line.
inline constexpr std::int32_t ExchangeFieldMissing = 9;

// The number of fields a version 2.0 line carries.
inline constexpr int ExchangeFieldCount = 29;

class ExchangeLine {
public:
    // `lineNumber` (from 1) names the line in failures.
    ExchangeLine(QStringView text, int lineNumber);

    // Field n (from 1). An empty line has no fields and every field reads as
    // empty. On a line of exactly 28 fields field 29 is field 2. Any other
    // field beyond the end throws Failure 9.
    QString field(int n) const;
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    int lineNumber() const { return lineNumber_; }

private:
    QStringList fields_;
    int lineNumber_;
};

// The survey, point and record a line carries. The survey number (field 1)
// must be a number (a file of another kind fails here with the type
// mismatch 13) whose whole value lies within 1..2147483647 (overflow 6
// otherwise); depth, blow count and torque take their leading numbers, and
// a number beyond their range is an overflow (6).
struct ExchangeRecords {
    db::SurveyRow survey;
    db::PointRow point;
    db::RecordRow record;
};
ExchangeRecords ReadExchangeRecords(const ExchangeLine& line);

// The name of field n (from 1) as the user knows it, for messages.
QString exchangeFieldLabel(int n);

} // namespace vortan::intake
