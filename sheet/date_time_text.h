#pragma once
// Whether a text typed into a date or time field can be read as one: the
// checks the data sheet makes before it saves.

#include <QStringView>

namespace vortan::sheet {

// A calendar date of year, month and day separated by "/", "-" or "." (one
// kind throughout), optionally followed by a blank and a time. The year has
// one to four digits; two digits mean 1930..2029, an "H" before the year an
// era year (H12 is 2000).
bool IsDateText(QStringView text);

// A clock time h:mm or h:mm:ss (hours 0..23, minutes and seconds 0..59).
bool IsTimeText(QStringView text);

// A date (with or without a time) or a time.
bool IsDateOrTimeText(QStringView text);

} // namespace vortan::sheet
