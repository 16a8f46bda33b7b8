#include "sheet/editor_entries_window.h"

#include "calc/formula_editor_window.h"
#include "core/mdi_main_window.h"
#include "sheet/master_editor_window.h"

namespace vortan::sheet {

ui::ChildWindowEntry MasterEditorEntry(const QString& caption)
{
    ui::ChildWindowEntry entry;
    entry.create = [caption](const ui::ChildWindowContext& context) -> QWidget* {
        auto* editor = new F_Mast(caption, context.state, context.workspace, context.ui);
        ui::MdiMainWindow* main = &context.mainWindow;
        editor->setEndProgramHandler([main] { main->endProgram(); });
        return editor;
    };
    return entry;
}

ui::ChildWindowEntry FormulaEditorEntry(calc::FormulaTable table)
{
    ui::ChildWindowEntry entry;
    entry.create = [table](const ui::ChildWindowContext& context) -> QWidget* {
        auto* editor = new calc::FormulaEditorWindow(table, context.state, context.workspace, context.ui);
        ui::MdiMainWindow* main = &context.mainWindow;
        editor->setEndProgramHandler([main] { main->endProgram(); });
        return editor;
    };
    return entry;
}

} // namespace vortan::sheet
