// One entry per screen: the key of the button or menu item that opens it,
// and how to create it from the run's shared state. A screen not listed here
// leaves its button and menu item disabled.

#include "app/screen_registration.h"

#include "calc/penetration_calculator.h"
#include "app/lookup_screens.h"
#include "app/main_window.h"
#include "db/master_lists.h"
#include "ui/intake/card_import_window.h"
#include "ui/intake/conversion_window.h"
#include "ui/report/print_preview_window.h"
#include "ui/sheet/data_sheet_window.h"
#include "app/screen_entries.h"
#include "sheet/survey_document.h"

#include <memory>

namespace vortan::ui {

namespace {

// What several screens share for the whole run: the master lists, the
// calculation, and the survey document the data sheet shows and the reports
// print. Made when the first screen needs it.
class SharedSurvey {
public:
    db::MasterLists& lists() { return lists_; }

    sheet::SurveyDocument& document(const ChildWindowContext& context)
    {
        if (!document_) {
            calculator_ = std::make_unique<calc::PenetrationCalculator>(context.workspace, context.state);
            document_ = std::make_unique<sheet::SurveyDocument>(sheet::SurveyDocument::Services{
                context.state, context.workspace, lists_, context.ui, *calculator_});
        }
        return *document_;
    }

private:
    db::MasterLists lists_;
    std::unique_ptr<calc::PenetrationCalculator> calculator_;
    std::unique_ptr<sheet::SurveyDocument> document_;
};

} // namespace

ChildWindowRegistry ProgramChildWindows()
{
    auto shared = std::make_shared<SharedSurvey>();
    ChildWindowRegistry registry;

    registry.addMdiChild(QStringLiteral("tb_DataSheet"), [shared](const ChildWindowContext& context) {
        auto* sheet = new sheet::DataSheetWindow(context.state, context.workspace, shared->lists(),
                                             context.ui, shared->document(context));
        MainWindow* main = &context.mainWindow;
        sheet->setEndProgramHandler([main] { main->endProgram(); });
        sheet->setAddressPicker(AddressPickerFor(context, sheet));
        main->registerUndoStack(sheet, &sheet->undoStack());
        return sheet;
    });

    registry.addMdiChild(QStringLiteral("tb_印刷フォーム"), [shared](const ChildWindowContext& context) {
        return new report::PrintPreviewWindow(report::PrintPreviewWindow::Services{
            shared->document(context), context.state, context.ui, &context.workspace, &context.store});
    });

    registry.addMdiChild(QStringLiteral("tb_Find"), [shared](const ChildWindowContext& context) {
        return CreateSearchWindow(context, shared->lists());
    });
    registry.add(QStringLiteral("mnu_プロパティ"), OptionsDialogEntry([shared]() -> db::MasterLists& { return shared->lists(); }));

    registry.add(QStringLiteral("tb_姓名マスタ"), MasterEditorEntry(QStringLiteral("姓名マスタの編集")));
    registry.add(QStringLiteral("tb_天候マスタ"), MasterEditorEntry(QStringLiteral("天候マスタの編集")));
    registry.add(QStringLiteral("tb_土質マスタ"), MasterEditorEntry(QStringLiteral("土質マスタの編集")));
    registry.add(QStringLiteral("tb_得意先マスタ"), MasterEditorEntry(QStringLiteral("得意先マスタの編集")));
    registry.add(QStringLiteral("tb_調査目的マスタ"), MasterEditorEntry(QStringLiteral("調査目的マスタの編集")));
    registry.add(QStringLiteral("tb_調査地区記事マスタ"), MasterEditorEntry(QStringLiteral("調査地区記事マスタの編集")));
    registry.add(QStringLiteral("tb_測点記事マスタ"), MasterEditorEntry(QStringLiteral("測点記事マスタの編集")));
    registry.add(QStringLiteral("tb_測点データ記事マスタ"), MasterEditorEntry(QStringLiteral("測点データ記事マスタの編集")));
    registry.add(QStringLiteral("tb_住所マスタ"), MasterEditorEntry(QStringLiteral("住所マスタの編集")));
    registry.add(QStringLiteral("tb_RNd値"), FormulaEditorEntry(calc::FormulaTable::RNd));
    registry.add(QStringLiteral("tb_Qa値"), FormulaEditorEntry(calc::FormulaTable::Qa));
    registry.add(QStringLiteral("tb_Nd値"), FormulaEditorEntry(calc::FormulaTable::Nd));

    registry.add(QStringLiteral("tb_ＣＦデータ受信"), CardImportWindowEntry());
    registry.add(QStringLiteral("mnu_データコンバート"), ConversionWindowEntry());

    return registry;
}

} // namespace vortan::ui
