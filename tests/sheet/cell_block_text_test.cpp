// The clipboard text of a block of cells, as spreadsheet programs exchange it.

#include "sheet/cell_block_text.h"

#include <gtest/gtest.h>

using namespace vortan::sheet;

namespace {

QStringList cells(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items)
        out << QString::fromUtf8(item);
    return out;
}

} // namespace

TEST(CellBlockText, RowsEndInCrLfAndCellsAreTabSeparated)
{
    const CellBlock block = {cells({"1.25", "4", "砂質土"}), cells({"", "6", ""})};
    EXPECT_EQ(cellBlockToText(block), QStringLiteral("1.25\t4\t砂質土\r\n\t6\t\r\n"));
    EXPECT_EQ(cellBlockFromText(cellBlockToText(block)), block);
}

TEST(CellBlockText, ReadsEveryLineEndAndNoPhantomLastRow)
{
    const CellBlock expected = {cells({"a", "b"}), cells({"c", "d"})};
    EXPECT_EQ(cellBlockFromText(QStringLiteral("a\tb\r\nc\td\r\n")), expected);
    EXPECT_EQ(cellBlockFromText(QStringLiteral("a\tb\nc\td\n")), expected);
    EXPECT_EQ(cellBlockFromText(QStringLiteral("a\tb\rc\td")), expected);
    // A single cell without a line end, and an empty text.
    EXPECT_EQ(cellBlockFromText(QStringLiteral("25")), CellBlock{cells({"25"})});
    EXPECT_TRUE(cellBlockFromText(QString()).empty());
    // An empty line in the middle is an empty row.
    EXPECT_EQ(cellBlockFromText(QStringLiteral("a\n\nb\n")), (CellBlock{cells({"a"}), cells({""}), cells({"b"})}));
}

TEST(CellBlockText, QuotesCellsHoldingSeparatorsBothWays)
{
    const CellBlock block = {cells({"two\nlines", "tab\there", "say \"hi\"", "plain"})};
    const QString text = cellBlockToText(block);
    EXPECT_EQ(text, QStringLiteral("\"two\nlines\"\t\"tab\there\"\t\"say \"\"hi\"\"\"\tplain\r\n"));
    EXPECT_EQ(cellBlockFromText(text), block);
}
