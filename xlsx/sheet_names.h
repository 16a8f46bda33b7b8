#pragma once
// Worksheet names as Excel accepts them: at most 31 characters, none of
// [ ] : * ? / \, not empty, and no two alike (Excel compares them without
// regard to letter case). Survey data names the point sheets, so every name
// is made acceptable here before the workbook writer sees it.

#include <QSet>
#include <QString>
#include <QStringView>

namespace vortan::xlsx {

inline constexpr int MaxSheetNameLength = 31;

// The wanted text as a sheet name: the characters Excel refuses and the
// apostrophe (which would have to be doubled wherever a chart names the
// sheet) become "_", control characters are dropped, blanks around the name
// are trimmed, and the name is cut to 31 characters without splitting a
// character that takes two UTF-16 units. An empty result gives `fallback`.
QString sanitisedSheetName(QStringView wanted, QStringView fallback);

// The names of one workbook, handed out unique.
class SheetNames {
public:
    // The sanitised name, or, when a sheet of that name (letter case
    // ignored) was already handed out, the name followed by " (2)", " (3)",
    // ..., shortened in front of the suffix so that it stays within 31
    // characters. Excel's reserved name "History" is never handed out as is.
    QString claim(QStringView wanted, QStringView fallback);

private:
    bool taken(const QString& name) const;
    QSet<QString> folded_;
};

} // namespace vortan::xlsx
