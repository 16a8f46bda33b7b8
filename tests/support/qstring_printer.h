#pragma once
// Lets GoogleTest print QString values (and lists of them) as readable UTF-8
// text in failure messages.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
