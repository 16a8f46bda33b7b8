#include "sheet/cell_block_text.h"

namespace vortan::sheet {

namespace {

QString quotedIfNeeded(const QString& cell)
{
    if (!cell.contains(QLatin1Char('\t')) && !cell.contains(QLatin1Char('\n'))
        && !cell.contains(QLatin1Char('\r')) && !cell.contains(QLatin1Char('"')))
        return cell;
    QString doubled = cell;
    doubled.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

} // namespace

QString cellBlockToText(const CellBlock& block)
{
    QString text;
    for (const QStringList& row : block) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += QLatin1Char('\t');
            text += quotedIfNeeded(row[c]);
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

CellBlock cellBlockFromText(const QString& text)
{
    CellBlock block;
    QStringList row;
    QString cell;
    bool rowStarted = false;
    qsizetype i = 0;
    const qsizetype n = text.size();

    auto endRow = [&] {
        row << cell;
        block.push_back(row);
        row.clear();
        cell.clear();
        rowStarted = false;
    };

    while (i < n) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('"') && cell.isEmpty()) {
            // A quoted cell runs to the quote that is not doubled; what
            // follows it up to the next separator is kept as it stands.
            rowStarted = true;
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        cell += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
            continue;
        }
        if (ch == QLatin1Char('\t')) {
            row << cell;
            cell.clear();
            rowStarted = true;
            ++i;
            continue;
        }
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            endRow();
            if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            ++i;
            continue;
        }
        rowStarted = true;
        cell += ch;
        ++i;
    }
    if (rowStarted || !cell.isEmpty() || !row.isEmpty())
        endRow();
    return block;
}

} // namespace vortan::sheet
