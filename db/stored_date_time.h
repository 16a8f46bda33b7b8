#pragma once
// Conversions between the stored date and time digits (yyyymmdd, YYMMDD,
// HHMM, possibly missing leading zeros) and the display forms yyyy/mm/dd and
// hh:mm. Texts that do not fit give empty text, never an error.

#include <QString>

namespace vortan::db {

QString DateToStored(const QString& text);          // "2001/2/3" -> "20010203"
QString StoredDateToDisplay(QStringView text);      // "20010203" -> "2001/02/03"
// Dates of points and records; `text` is replaced by its prefixed form.
QString ShortDateToDisplay(QString& text);          // "51001" -> "2005/10/01"
QString StoredTimeToDisplay(QStringView text);      // "930" -> "09:30"
QString TimeToStored(const QString& text);          // "9:5" -> "0905"

} // namespace vortan::db
