// The editors' grids of texts and their item model: which rows count as used,
// how rows grow and go, and what a view sees and writes.

#include "core/text_grid.h"
#include "core/text_grid_model.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

TEST(TextGrid, UsedRowsRunToTheLastRowHoldingData)
{
    TextGrid grid(2, 4);
    EXPECT_EQ(grid.usedRowCount(), 0);
    grid.setCell(2, 1, QStringLiteral("x"));
    // The empty rows before it count as used, the one after it does not.
    EXPECT_EQ(grid.usedRowCount(), 3);
    EXPECT_FALSE(grid.rowHoldsData(0));
    EXPECT_TRUE(grid.rowHoldsData(2));

    // Writing beyond the last row grows the grid; beyond the columns does nothing.
    grid.setCell(6, 0, QStringLiteral("y"));
    grid.setCell(0, 5, QStringLiteral("z"));
    EXPECT_EQ(grid.rowCount(), 7);
    EXPECT_EQ(grid.usedRowCount(), 7);
    EXPECT_EQ(grid.cell(0, 5), QString());
    EXPECT_EQ(grid.cell(-1, 0), QString());

    grid.removeRows({6, 2, 6, 40});
    EXPECT_EQ(grid.rowCount(), 5);
    EXPECT_EQ(grid.usedRowCount(), 0);
    grid.clear(1);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.row(0), QStringList({QString(), QString()}));
}

TEST(TextGridModel, EditsReachTheGridAndAreAnnounced)
{
    TextGrid grid(3, 2);
    TextGridModel model(grid, {QStringLiteral("土質名"), QStringLiteral("表示色"), QStringLiteral("色変更")});
    model.setReadOnlyColumns({2});
    model.setBackground([&grid](int row, int column) -> std::optional<QColor> {
        if (column == 1 && !grid.cell(row, 1).isEmpty())
            return QColor(80, 60, 40);
        return std::nullopt;
    });
    QSignalSpy edited(&model, &TextGridModel::edited);

    EXPECT_TRUE(model.setData(model.index(1, 1), QStringLiteral("255")));
    EXPECT_EQ(grid.cell(1, 1), QStringLiteral("255"));
    EXPECT_EQ(edited.count(), 1);
    // The same text again is no change.
    EXPECT_TRUE(model.setData(model.index(1, 1), QStringLiteral("255")));
    EXPECT_EQ(edited.count(), 1);
    EXPECT_FALSE(model.setData(model.index(1, 2), QStringLiteral("x")));
    EXPECT_FALSE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

    EXPECT_EQ(model.index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(80, 60, 40));
    EXPECT_EQ(model.index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_FALSE(model.index(0, 1).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.index(0, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("表示色"));
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
    model.setRowHeading([](int row) { return QStringLiteral("r%1").arg(row); });
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toString(), QStringLiteral("r1"));

    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.appendRow();
    EXPECT_EQ(model.rowCount(), 3);
    model.removeRows({0, 2});
    EXPECT_EQ(removed.count(), 2);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.cell(0, 1), QStringLiteral("255"));
}

} // namespace
