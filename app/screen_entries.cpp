#include "app/screen_entries.h"

#include "ui/calc/formula_editor_window.h"
#include "app/main_window.h"
#include "core/user_interface.h"
#include "ui/intake/card_import_window.h"
#include "ui/intake/conversion_window.h"
#include "ui/sheet/data_sheet_window.h"
#include "ui/sheet/master_editor_window.h"

namespace vortan::ui {

ChildWindowEntry MasterEditorEntry(const QString& caption)
{
    ChildWindowEntry entry;
    entry.create = [caption](const ChildWindowContext& context) -> QWidget* {
        auto* editor = new sheet::MasterEditorWindow(caption, context.state, context.workspace, context.ui);
        MainWindow* main = &context.mainWindow;
        editor->setEndProgramHandler([main] { main->endProgram(); });
        return editor;
    };
    return entry;
}

ChildWindowEntry FormulaEditorEntry(calc::FormulaTable table)
{
    ChildWindowEntry entry;
    entry.create = [table](const ChildWindowContext& context) -> QWidget* {
        auto* editor = new calc::FormulaEditorWindow(table, context.state, context.workspace, context.ui);
        MainWindow* main = &context.mainWindow;
        editor->setEndProgramHandler([main] { main->endProgram(); });
        return editor;
    };
    return entry;
}

ChildWindowEntry CardImportWindowEntry()
{
    ChildWindowEntry entry;
    entry.presentation = ChildPresentation::MdiChild;
    entry.create = [](const ChildWindowContext& context) -> QWidget* {
        auto* screen = new intake::CardImportWindow(context.state, context.workspace, context.ui);
        MainWindow* main = &context.mainWindow;
        UserInterface* ui = &context.ui;
        // The new survey goes to the data sheet, which comes to the front,
        // is drawn, then clears itself and loads it.
        screen->setSurveyOpener([main, ui](const QString& number) {
            auto* sheet = qobject_cast<sheet::DataSheetWindow*>(main->openChild(QStringLiteral("tb_DataSheet")));
            if (!sheet)
                return;
            ui->processEvents();
            sheet->openSurvey(number);
        });
        screen->setEndProgramHandler([main] { main->endProgram(); });
        return screen;
    };
    return entry;
}

ChildWindowEntry ConversionWindowEntry()
{
    ChildWindowEntry entry;
    entry.presentation = ChildPresentation::ModalDialog;
    entry.create = [](const ChildWindowContext& context) -> QWidget* {
        auto* dialog = new intake::ConversionWindow(context.state, context.workspace, context.ui, &context.mainWindow);
        MainWindow* main = &context.mainWindow;
        dialog->setEndProgramHandler([main] { main->endProgram(); });
        return dialog;
    };
    return entry;
}

} // namespace vortan::ui
