#include "app/lookup_screens.h"

#include "app/main_window.h"
#include "app/options_dialog.h"
#include "core/user_interface.h"
#include "ui/sheet/address_picker_dialog.h"
#include "ui/sheet/data_sheet_window.h"
#include "ui/sheet/survey_search_window.h"

#include <QPointer>

namespace vortan::ui {

namespace {

const QString DataSheetKey = QStringLiteral("tb_DataSheet");

} // namespace

QWidget* CreateSearchWindow(const ChildWindowContext& context, db::MasterLists& lists)
{
    auto* search = new sheet::SurveySearchWindow(context.state, context.workspace, lists, context.ui);
    MainWindow* main = &context.mainWindow;
    UserInterface* ui = &context.ui;
    // The number goes to the data sheet, the sheet comes to the front, the
    // pending events run (the sheet is drawn), then the sheet loads it.
    search->setSurveyOpener([main, ui](const QString& number) {
        auto* sheet = qobject_cast<sheet::DataSheetWindow*>(main->openChild(DataSheetKey));
        if (!sheet)
            return;
        ui->processEvents();
        sheet->openSurvey(number);
    });
    search->setAddressPicker(AddressPickerFor(context, search));
    search->setEndProgramHandler([main] { main->endProgram(); });
    return search;
}

ChildWindowEntry OptionsDialogEntry(std::function<db::MasterLists&()> lists)
{
    ChildWindowEntry entry;
    entry.presentation = ChildPresentation::ModalDialog;
    entry.setUpAtLoad = [](QWidget* dialog, const ChildWindowContext&) {
        if (auto* options = dynamic_cast<OptionsDialog*>(dialog))
            options->prepareAtStart();
    };
    entry.create = [lists](const ChildWindowContext& context) -> QWidget* {
        auto* dialog = new OptionsDialog(
            OptionsDialog::Services{context.state, context.store, context.workspace, lists(), context.ui},
            &context.mainWindow);
        MainWindow* main = &context.mainWindow;
        OptionsDialog::DataSheetHooks hooks;
        // The label the reports print before the address goes to the data
        // sheet (made now when it is not yet: the start-up prepares the
        // label before it shows the sheet).
        hooks.setAddressLabel = [main](int index, const QString& text) {
            if (auto* sheet = qobject_cast<sheet::DataSheetWindow*>(main->ensureChild(DataSheetKey)))
                sheet->setAddressLabel(index, text);
        };
        // Most settings take effect after a restart: the sheet starts empty
        // meanwhile (after offering a modified survey for saving), its
        // captions following the new settings.
        hooks.clear = [main] {
            if (auto* sheet = qobject_cast<sheet::DataSheetWindow*>(main->childWindow(DataSheetKey))) {
                sheet->runToolbarCommand(QStringLiteral("tb_New"));
                sheet->refreshPointCaption();
                sheet->refreshLocationCaption();
            }
        };
        dialog->setDataSheetHooks(std::move(hooks));
        dialog->setEndProgramHandler([main] { main->endProgram(); });
        return dialog;
    };
    return entry;
}

std::function<std::optional<QString>()> AddressPickerFor(const ChildWindowContext& context, QWidget* parent)
{
    ProgramState* state = &context.state;
    db::Workspace* workspace = &context.workspace;
    UserInterface* ui = &context.ui;
    MainWindow* main = &context.mainWindow;
    QPointer<QWidget> owner(parent);
    return [state, workspace, ui, main, owner]() -> std::optional<QString> {
        sheet::AddressPickerDialog picker(*state, *workspace, *ui, owner ? owner.data() : main);
        picker.setEndProgramHandler([main] { main->endProgram(); });
        if (picker.exec() != QDialog::Accepted)
            return std::nullopt;
        return picker.address();
    };
}

} // namespace vortan::ui
