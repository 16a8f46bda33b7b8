// Every window of the program speaks Japanese: the whole program is started
// on copies of the shipped files, each screen is opened, and every text a
// user can see (captions, labels, buttons, menus, tool tips, column
// headings, fixed list entries, placeholders) is searched for a word of
// Latin letters that is not a name, a unit or a code. The toolkit's own
// dialogs are walked too, with the translations the program loads.

#include "app/about_dialog.h"
#include "app/screen_registration.h"
#include "core/japanese_translations.h"
#include "app/main_window.h"
#include "core/program_state.h"
#include "core/settings_store.h"
#include "db/workspace.h"
#include "ui/intake/card_drive_dialog.h"
#include "ui/report/next_page_dialog.h"
#include "ui/report/report_options_dialog.h"
#include "ui/sheet/address_picker_dialog.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTabBar>
#include <QTextDocumentFragment>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

// Words of Latin letters a Japanese user reads as they are: names, units and
// symbols of the test and its formulas, codes and formats.
const QStringList Allowed = QStringLiteral(
    "Vortan VORTAN MDB YUUBIN Microsoft Edge Excel ZD N m kN cm mm kg kgf Nd Ndm Mv qa Qa qu Nc Nr Nq Df i ic iq "
    "GL KBM TBM BM SI A B C D E F G H I J K c No OK CF CSV csv PDF pdf TEL FAX Ctrl Z Y hh yyyy dd mdb bmp ico jpg "
    "gif Ver rqtbl HTML").split(u' ');

// The texts of `widget` and of its visible children a user can read (paths
// shown are data; entries of editable lists too).
QStringList visibleTexts(QWidget* widget)
{
    QStringList texts{widget->windowTitle(), widget->toolTip()};
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        if (!child->isVisibleTo(widget))
            continue;
        texts << child->toolTip();
        if (auto* label = qobject_cast<QLabel*>(child))
            texts << QTextDocumentFragment::fromHtml(label->text()).toPlainText();
        if (auto* button = qobject_cast<QAbstractButton*>(child))
            texts << button->text();
        if (auto* box = qobject_cast<QGroupBox*>(child))
            texts << box->title();
        if (auto* line = qobject_cast<QLineEdit*>(child))
            texts << line->placeholderText();
        for (int i = 0; qobject_cast<QTabBar*>(child) && i < qobject_cast<QTabBar*>(child)->count(); ++i)
            texts << qobject_cast<QTabBar*>(child)->tabText(i);
        auto* list = qobject_cast<QComboBox*>(child);
        for (int i = 0; list && !list->isEditable() && i < list->count(); ++i)
            texts << list->itemText(i);
        auto* view = qobject_cast<QAbstractItemView*>(child);
        for (int c = 0; view && view->model() && c < view->model()->columnCount(); ++c)
            texts << view->model()->headerData(c, Qt::Horizontal).toString();
    }
    for (QAction* action : widget->findChildren<QAction*>())
        texts << action->text().section(u'\t', 0, 0) << action->toolTip() << action->statusTip();
    static const QRegularExpression path(QStringLiteral("^(/|[A-Za-z]:[\\\\/])"));
    texts.removeIf([](const QString& text) { return text.contains(path); });
    return texts;
}

// "word in text (where)" for every Latin word that is not allowed; an access
// key in parentheses, "終了(&X)", is a key, not a word.
QStringList foreignWords(const QString& where, const QStringList& texts)
{
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]+"));
    static const QRegularExpression accessKey(QStringLiteral("\\(&?[A-Za-z]\\)"));
    QStringList found;
    for (const QString& shown : texts)
        for (const QRegularExpressionMatch& match : latin.globalMatch(QString(shown).remove(accessKey)))
            if (!Allowed.contains(match.captured()))
                found << QStringLiteral("%1 in \"%2\" (%3)").arg(match.captured(), shown, where);
    return found;
}

} // namespace

TEST(JapaneseEverywhere, NoWindowShowsAWordOfLatinLettersThatIsNoNameUnitOrCode)
{
    QTranslator* translator = InstallJapaneseTranslations(*qApp);
    ASSERT_NE(translator, nullptr);
    // A window without a caption of its own shows the program's name.
    const QString testName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Vortan"));
    const auto restore = qScopeGuard([&] {
        QCoreApplication::setApplicationName(testName);
        QCoreApplication::removeTranslator(translator);
        QLocale::setDefault(QLocale::c());
    });
    // The address label the reports print is prepared at start-up (the
    // index brought into the list) and given to the data sheet.
    test::ShippedFilesCopy files;
    SettingsStore store(files.writeSettingsFile({{"etc/住所名", "3"}, {"etc/その他_ComboIndex", "4"}}));
    ProgramState state;
    db::Workspace workspace;
    test::RecordingUserInterface ui;
    ui::MainWindow window(store, state, workspace, ui, ui::ProgramChildWindows());
    ui::MainWindow::DesktopActions quiet;
    quiet.endProgram = [] {};
    window.setDesktopActions(quiet);
    ASSERT_TRUE(window.showAndLoad());
    EXPECT_EQ(state.settings.その他_ComboIndex, 0);
    EXPECT_EQ(window.childWindow("tb_DataSheet")->findChild<QLabel*>("Label住所")->text(), "調査現場");

    QStringList found = foreignWords("F_MDIForm", visibleTexts(&window));
    for (QAction* menu : window.menuBar()->actions())
        found += foreignWords(menu->objectName(), visibleTexts(menu->menu()));
    for (const QString& key : window.registry().keys()) {
        QWidget* screen = window.ensureChild(key);
        screen->show();   // dialogs too, without their modal loop
        found += foreignWords(key, visibleTexts(screen));
        if (!window.subWindowOf(key))
            screen->hide();
    }

    // The windows opened from other windows, and the toolkit's own dialogs.
    auto fileDialog = std::make_unique<QFileDialog>();
    fileDialog->setOption(QFileDialog::DontUseNativeDialog);
    auto colours = std::make_unique<QColorDialog>();
    colours->setOption(QColorDialog::DontUseNativeDialog);
    std::vector<std::unique_ptr<QWidget>> others;
    others.push_back(std::make_unique<ui::AboutDialog>(&window));
    others.push_back(std::make_unique<sheet::AddressPickerDialog>(state, workspace, ui));
    others.push_back(std::make_unique<report::ReportOptionsDialog>(state, ui));
    others.push_back(std::make_unique<report::NextPageDialog>());
    others.push_back(std::make_unique<intake::CardDriveDialog>(state, ui, QStringList{files.folder()}));
    others.push_back(std::move(fileDialog));
    others.push_back(std::move(colours));
    for (const std::unique_ptr<QWidget>& other : others) {
        other->show();
        found += foreignWords(other->metaObject()->className(), visibleTexts(other.get()));
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
    window.close();
}
