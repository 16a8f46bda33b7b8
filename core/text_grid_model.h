#pragma once
// An item model over a TextGrid for the editors' grid views: the texts as
// display and edit data, column headings, row numbers (or texts the owner
// gives) as row headings, optional cell backgrounds, colour swatches and
// read-only columns.
// Changes made through setData are written into the grid and announced by
// edited(); when the owner changed the grid itself it calls reload().

#include "core/text_grid.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QSet>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace vortan {

class TextGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    TextGridModel(TextGrid& grid, QStringList headings, QObject* parent = nullptr);

    void setReadOnlyColumns(QSet<int> columns) { readOnly_ = std::move(columns); }
    // Columns of numbers, shown aligned to the right.
    void setNumberColumns(QSet<int> columns) { numbers_ = std::move(columns); }
    // The colour a cell is painted in, or nothing for the view's own.
    void setBackground(std::function<std::optional<QColor>(int row, int column)> background);
    // Columns whose cells show only their background, as a colour swatch:
    // no text, and no typing into them (the owner writes them through setData).
    void setSwatchColumns(QSet<int> columns) { swatches_ = std::move(columns); }
    // The heading of a row; the row's 1-based number by default.
    void setRowHeading(std::function<QString(int row)> heading);

    TextGrid& grid() { return grid_; }

    // The grid was changed by its owner: every view shows it anew.
    void reload();
    // Adds an empty row at the end, or removes rows, announcing the change.
    void appendRow();
    void removeRows(std::vector<int> rows);
    // The row headings changed (they follow another grid).
    void refreshRowHeadings();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // A cell was changed through the model (by the user).
    void edited(int row, int column);

private:
    TextGrid& grid_;
    QStringList headings_;
    QSet<int> readOnly_;
    QSet<int> numbers_;
    QSet<int> swatches_;
    std::function<std::optional<QColor>(int, int)> background_;
    std::function<QString(int)> rowHeading_;
};

} // namespace vortan
