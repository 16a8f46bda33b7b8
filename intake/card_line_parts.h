#pragma once
// A list line taken apart again by character positions, for the save.

#include <QString>
#include <cstdint>

namespace vortan::intake {

struct CardLineParts {
    QString line;             // the line without its marker
    std::int16_t site = 0;    // numeric value of characters 1-5
    QString point;            // characters 7-11, blanks kept
    QString startDate;        // 20YYMMDD
    QString startTime;        // HHMM
    QString endTime;          // HHMM

    // The line's own texts, as the card rows hold them.
    QString startDateText() const;  // YY/MM/DD, characters 13-20
    QString startTimeText() const;  // HH:MM:SS, characters 22-29
    QString endTimeText() const;    // HH:MM:SS, the last eight characters
    QString startStamp() const;     // "YY/MM/DD HH:MM:SS", characters 13-29
    QString endStamp() const;       // the last seventeen characters
};

CardLineParts TakeLineApart(const QString& listLine);

} // namespace vortan::intake
