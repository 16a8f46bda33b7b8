#include "intake/card_selection.h"

#include "core/number_text.h"
#include "intake/card_line_parts.h"

#include <QRegularExpression>

#include <algorithm>

namespace vortan::intake {

namespace {

std::int16_t wholeValue(QStringView text)
{
    return numtext::toInt16(numtext::roundHalfEven(numtext::leadingNumber(text)));
}

// The point field of a list line: with its blanks, characters 6 to 12 of a
// line without marker, 7 to 12 of a line with "*".
std::int16_t pointOfLine(const QString& line)
{
    return line.startsWith(QLatin1Char('*')) ? wholeValue(QStringView(line).mid(6, 6))
                                             : wholeValue(QStringView(line).mid(5, 7));
}

QList<qsizetype> sortedRows(const QList<qsizetype>& rows, qsizetype count)
{
    QList<qsizetype> sorted;
    for (qsizetype row : rows)
        if (row >= 0 && row < count && !sorted.contains(row))
            sorted.append(row);
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

} // namespace

int CheckSelection(const QStringList& cardLines, const QList<qsizetype>& selectedRows,
                   const QStringList& transferLines, DuplicatePointList& duplicates)
{
    QStringList selected;
    for (qsizetype row : sortedRows(selectedRows, cardLines.size()))
        selected.append(cardLines.at(row));

    // 1. A line whose first twelve characters (marker, site and point) equal
    //    those of an earlier line would store the same point twice.
    const QStringList all = transferLines + selected;
    bool duplicate = false;
    for (qsizetype later = 1; later < all.size(); ++later) {
        for (qsizetype earlier = 0; earlier < later; ++earlier) {
            if (all[earlier].left(12) == all[later].left(12)) {
                duplicates.add(pointOfLine(all[later]));
                duplicate = true;
                break;
            }
        }
    }
    if (duplicate)
        return DuplicatePoint;

    // 2. The selected lines belong to one site. A "*" line of the same site
    //    as the first is the second run of a point chosen with its first.
    for (qsizetype i = 1; i < selected.size(); ++i) {
        const QString& first = selected.first();
        const QString& line = selected[i];
        if (first.left(6) == line.left(6))
            continue;
        if (line.startsWith(QLatin1Char('*'))
            && numtext::leadingNumber(QStringView(line).mid(1))
                == numtext::leadingNumber(QStringView(first).mid(1))) {
            duplicates.add(wholeValue(QStringView(line).mid(6, 6)));
            return DuplicatePoint;
        }
        return DifferentSite;
    }

    // 3. Nothing on the card.
    if (cardLines.isEmpty())
        return DifferentSite;

    // 4. The same site as the runs already chosen.
    if (!transferLines.isEmpty()) {
        const QString site = transferLines.first().left(5);
        for (const QString& line : selected)
            if (line.left(5) != site)
                return DifferentSite;
    }
    return 0;
}

QStringList UnstorablePoints(const QStringList& cardLines, const QList<qsizetype>& selectedRows)
{
    static const QRegularExpression plain(QStringLiteral("^(0|[1-9][0-9]{0,3})$"));
    QStringList points;
    for (qsizetype row : sortedRows(selectedRows, cardLines.size())) {
        const QString point = TakeLineApart(cardLines.at(row)).point.trimmed();
        if (plain.match(point).hasMatch())
            continue;
        const QString shown = point.isEmpty() ? QStringLiteral("（空欄）") : point;
        if (!points.contains(shown))
            points.append(shown);
    }
    return points;
}

void MoveLines(QStringList& source, const QList<qsizetype>& selectedRows,
               const QString& sourceCurrent, const QString& targetCurrent, QStringList& target)
{
    if (source.isEmpty() || sourceCurrent == targetCurrent)
        return;
    for (qsizetype row : sortedRows(selectedRows, source.size()))
        target.append(source.at(row));
    for (const QString& line : std::as_const(target)) {
        const qsizetype at = source.indexOf(line);
        if (at >= 0)
            source.removeAt(at);
    }
}

bool TransferSelectedRuns(UserInterface& ui, QStringList& cardLines,
                          const QList<qsizetype>& selectedRows, const QString& cardCurrent,
                          QStringList& transferLines, const QString& transferCurrent,
                          DuplicatePointList& duplicates)
{
    const QStringList unstorable = UnstorablePoints(cardLines, selectedRows);
    if (!unstorable.isEmpty()) {
        ShowUnstorablePoints(ui, unstorable);
        return false;
    }
    const int code = CheckSelection(cardLines, selectedRows, transferLines, duplicates);
    if (code != 0) {
        ShowIntakeMessage(ui, code, duplicates);
        return false;
    }
    MoveLines(cardLines, selectedRows, cardCurrent, transferCurrent, transferLines);
    return true;
}

} // namespace vortan::intake
