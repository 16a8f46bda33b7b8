#pragma once
// The edited state of one formula series (one 計算式コード of one formula
// table) and the commands of its editor: load, validate, save, delete.
//
// The soil grid holds 土質名, the table's coefficients and メモ (the bearing
// capacity table shows 土質名 and メモ only); the customer grid holds the
// names of the customers bound to the series. The bearing capacity series
// adds one grid per parameter group, row k belonging to soil row k, and the
// rounding mode of φ; saving it rewrites that series in qaTbl.tbl.
//
// Every command reports its own failures through the error reporter and
// talks to the user through the user interface.

#include "calc/editor_outcome.h"
#include "calc/formula_table_info.h"
#include "calc/qa_param_groups.h"
#include "calc/qa_param_record.h"
#include "core/text_grid.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace vortan {
struct ProgramState;
class UserInterface;
class Failure;
}
namespace vortan::db {
class Workspace;
}

namespace vortan::calc {

class FormulaSeriesEditor {
public:
    struct Services {
        ProgramState& state;
        db::Workspace& workspace;
        UserInterface& ui;
    };

    FormulaSeriesEditor(FormulaTable table, Services services);

    const FormulaTableInfo& info() const { return info_; }
    bool isQa() const { return info_.table == FormulaTable::Qa; }

    // --- the edited state
    const QString& code() const { return code_; }
    void setCode(const QString& code) { code_ = code; }
    TextGrid& soils() { return soils_; }
    const TextGrid& soils() const { return soils_; }
    TextGrid& customers() { return customers_; }
    const TextGrid& customers() const { return customers_; }
    // Column of メモ in the soil grid.
    int memoColumn() const { return 1 + static_cast<int>(info_.coefficients.size()); }

    // Bearing capacity series only: the parameter grids in group order and
    // the rounding mode of φ (0 round up, 1 truncate, 2 half away from zero).
    TextGrid& qaGrid(int group) { return qaGrids_.at(static_cast<std::size_t>(group)); }
    const TextGrid& qaGrid(int group) const { return qaGrids_.at(static_cast<std::size_t>(group)); }
    std::int16_t roundingMode() const { return roundingMode_; }
    void setRoundingMode(std::int16_t mode) { roundingMode_ = mode; }

    bool hasUnsavedChanges() const { return changed_; }
    void setChanged(bool changed) { changed_ = changed; }

    // --- commands
    // Empties every grid down to one empty row; the code stays.
    void clear();
    // Clears, then loads the series whose code stands in the code field.
    EditorOutcome load();
    // Validates and writes the series (asking before it overwrites one), the
    // customers' binding and, for the bearing capacity, its parameter
    // records; then marks the formulas changed.
    EditorOutcome save();
    // Asks, then deletes the series and unbinds its customers; then marks
    // the formulas changed. The parameter records stay in qaTbl.tbl.
    EditorOutcome deleteSeries();

    // Does the table hold rows of the series? Throws Failure.
    bool isDuplicate();
    // True when the code is not a 16-bit number, a used row of either grid
    // has an empty first cell, a row of parameters has no soil, or a
    // coefficient or parameter is not a number.
    bool hasInvalidInput() const;

    // The parameter records the grids describe: one for each row that holds
    // a parameter, named after the soil of the same row. Loading puts each
    // record of the series into the row of its soil.
    std::vector<QaParamRecord> qaRecords(std::int16_t code) const;

    // The statements of the commands for a code (normalised decimal text).
    QString selectSeriesStatement(const QString& code) const;
    QString selectCustomersStatement(const QString& code) const;
    QString existsStatement(const QString& code) const;
    QString deleteSeriesStatement(const QString& code) const;
    QString insertStatement(const QString& code, int row) const;
    QString unbindStatement(const QString& code) const;
    QString bindStatement(const QString& code, const QString& customer) const;
    QString dropSeriesStatement(const QString& code) const;
    QString dropBindingStatement(const QString& code) const;

private:
    void loadRows(const QString& code);
    void loadQaRecords(std::int16_t code);
    void writeSeries(const QString& code);
    QString qaFolder() const;
    EditorOutcome report(const Failure& failure);

    const FormulaTableInfo& info_;
    Services s_;
    QString code_;
    TextGrid soils_;
    TextGrid customers_;
    std::array<TextGrid, QaParamGroupCount> qaGrids_;
    std::int16_t roundingMode_ = 0;
    bool changed_ = false;
};

} // namespace vortan::calc
