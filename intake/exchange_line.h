#pragma once
// One line of the survey exchange file: fields split at every comma with no
// quoting rule, every double quote removed. Version 2.0 lines carry 29
// fields, version 1.0 lines the first 28, which read their point number in
// place of the printed point number (field 29).

#include "db/survey_store.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <cstdint>

namespace vortan::intake {

// Error number of a field asked beyond the end of a line.
inline constexpr std::int32_t ExchangeFieldMissing = 9;

// The number of fields a version 2.0 line carries.
inline constexpr int ExchangeFieldCount = 29;

class ExchangeLine {
public:
    // `bytes` (code page 932, without the line end) must outlive the line;
    // `lineNumber` (from 1) names the line in failures.
    ExchangeLine(QByteArrayView bytes, int lineNumber);

    // Field n (from 1). An empty line has no fields and every field reads as
    // empty. On a line of exactly 28 fields field 29 is field 2. Any other
    // field beyond the end throws Failure 9.
    QString field(int n) const;
    // True when field n reads as `text`; fails like field().
    bool fieldEquals(int n, QStringView text) const;
    int fieldCount() const { return bounds_.isEmpty() ? 0 : static_cast<int>(bounds_.size()) - 1; }
    int lineNumber() const { return lineNumber_; }

private:
    // Field n's bytes, double quotes still in.
    QByteArrayView rawField(int n) const;

    // Fields are decoded only when asked for: a line repeats its survey's
    // and point's fields, which are read only when they change. Field k
    // (from 0) lies between the commas at bounds_[k] and bounds_[k + 1],
    // -1 and the line's length standing for its two ends.
    QByteArrayView bytes_;
    QVarLengthArray<qsizetype, ExchangeFieldCount + 2> bounds_;
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

// The same in parts, in the order ReadExchangeRecords reads them, for a
// reader that needs the survey only when a new one starts and the point only
// when it changes. The number is the survey number read first.
std::int32_t ReadExchangeSurveyNumber(const ExchangeLine& line);
db::SurveyRow ReadExchangeSurvey(const ExchangeLine& line, std::int32_t number);
db::PointRow ReadExchangePoint(const ExchangeLine& line, std::int32_t number);
db::RecordRow ReadExchangeRecord(const ExchangeLine& line, std::int32_t number);
// True when the line's point (number, point number, date, start and end
// time) is `point`'s.
bool IsExchangePoint(const ExchangeLine& line, std::int32_t number, const db::PointRow& point);

// The name of field n (from 1) as the user knows it, for messages.
QString exchangeFieldLabel(int n);

} // namespace vortan::intake
