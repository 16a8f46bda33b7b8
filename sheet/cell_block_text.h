#pragma once
// A rectangular block of cell texts as spreadsheet programs put it on the
// clipboard: cells separated by tabs, rows ended by CR LF (LF or CR alone are
// read too), and a cell that holds a tab, a line break or a double quote
// written between double quotes with its quotes doubled.

#include <QString>
#include <QStringList>
#include <vector>

namespace vortan::sheet {

// Rows of cells; rows may differ in length.
using CellBlock = std::vector<QStringList>;

// The clipboard text of a block; every row, the last included, ends in CR LF.
QString cellBlockToText(const CellBlock& block);

// The block a clipboard text holds. The line break that ends the last row
// does not start another row; an empty text is an empty block.
CellBlock cellBlockFromText(const QString& text);

} // namespace vortan::sheet
