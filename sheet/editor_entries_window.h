#pragma once
// Registry entries of the master editors and the formula editors, so that the
// main window's registration adds each with one line:
//   registry.add("tb_姓名マスタ", sheet::MasterEditorEntry("姓名マスタの編集"));
//   registry.add("tb_RNd値", sheet::FormulaEditorEntry(calc::FormulaTable::RNd));

#include "calc/formula_table_info.h"
#include "core/child_window_registry_widget.h"

namespace vortan::sheet {

// An F_Mast over the master of `caption`.
ui::ChildWindowEntry MasterEditorEntry(const QString& caption);

// The formula editor of `table`.
ui::ChildWindowEntry FormulaEditorEntry(calc::FormulaTable table);

} // namespace vortan::sheet
