#pragma once
// Registry entries of the screens whose creation needs wiring to the rest of
// the program (to end the program on a fatal failure, to open a saved survey
// on the data sheet), so that the main window's registration adds each with
// one line:
//   registry.add("tb_姓名マスタ", MasterEditorEntry("姓名マスタの編集"));
//   registry.add("tb_RNd値", FormulaEditorEntry(calc::FormulaTable::RNd));

#include "app/child_window_registry.h"
#include "calc/formula_table_info.h"

namespace vortan::ui {

// An MasterEditorWindow over the master of `caption`.
ChildWindowEntry MasterEditorEntry(const QString& caption);

// The formula editor of `table`.
ChildWindowEntry FormulaEditorEntry(calc::FormulaTable table);

// The entry of the main window's toolbar key "tb_ＣＦデータ受信": an MDI
// child whose saves open on the data sheet.
ChildWindowEntry CardImportWindowEntry();

// The entry of the main window's menu item "mnu_データコンバート": a modal dialog.
ChildWindowEntry ConversionWindowEntry();

} // namespace vortan::ui
