#include "xlsx/sheet_names.h"

namespace vortan::xlsx {

namespace {

bool refused(QChar c)
{
    switch (c.unicode()) {
    case u'[': case u']': case u':': case u'*': case u'?': case u'/': case u'\\': case u'\'':
        return true;
    default:
        return false;
    }
}

// The first `units` UTF-16 units of the text, one fewer when the cut would
// fall inside a surrogate pair.
QString cutTo(const QString& text, qsizetype units)
{
    if (text.size() <= units)
        return text;
    if (units > 0 && text.at(units - 1).isHighSurrogate())
        --units;
    return text.left(units);
}

} // namespace

QString sanitisedSheetName(QStringView wanted, QStringView fallback)
{
    QString name;
    name.reserve(wanted.size());
    for (QChar c : wanted) {
        if (c.category() == QChar::Other_Control)
            continue;
        name.append(refused(c) ? QChar(u'_') : c);
    }
    name = cutTo(name.trimmed(), MaxSheetNameLength).trimmed();
    return name.isEmpty() ? fallback.toString() : name;
}

bool SheetNames::taken(const QString& name) const
{
    const QString folded = name.toCaseFolded();
    return folded_.contains(folded) || folded == u"history";
}

QString SheetNames::claim(QStringView wanted, QStringView fallback)
{
    const QString base = sanitisedSheetName(wanted, fallback);
    QString name = base;
    for (int n = 2; taken(name); ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        name = cutTo(base, MaxSheetNameLength - suffix.size()).trimmed() + suffix;
    }
    folded_.insert(name.toCaseFolded());
    return name;
}

} // namespace vortan::xlsx
