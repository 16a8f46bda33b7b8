// Every window of the program speaks Japanese: the whole program is started
// on copies of the shipped files, each screen is opened, and every text a
// user can see (captions, labels, buttons, menus, tool tips, column
// headings, fixed list entries, placeholders) is searched for a word of
// Latin letters that is not a name, a unit or a code. The toolkit's own
// dialogs are walked too, with the translations the program loads.

#include "core/about_dialog.h"
#include "core/child_windows_registration_window.h"
#include "core/japanese_translations.h"
#include "core/mdi_main_window.h"
#include "core/program_state.h"
#include "core/settings_store.h"
#include "db/workspace.h"
#include "intake/card_drive_dialog.h"
#include "report/next_page_dialog.h"
#include "report/report_options_dialog.h"
#include "sheet/address_picker_dialog.h"
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

// Words of Latin letters a Japanese user reads as they are: the program's
// and its files' names, units and symbols of the test, codes and formats.
const QStringList Allowed = {
    // names
    "Vortan", "VORTAN", "MDB", "YUUBIN", "Microsoft", "Edge", "ZD",
    // units and symbols of the test and its formulas
    "N", "m", "kN", "cm", "mm", "kg", "kgf", "Nd", "Ndm", "Mv", "qa", "Qa", "qu", "Nc", "Nr", "Nq", "Df", "i", "ic",
    "iq",
    "GL", "KBM", "TBM", "BM", "SI", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "c",
    // codes, abbreviations and formats
    "No", "OK", "CF", "CSV", "csv", "PDF", "pdf", "TEL", "FAX", "Ctrl", "Z", "Y", "hh", "yyyy", "dd",
    "mdb", "bmp", "ico", "jpg", "gif", "Ver", "rqtbl", "HTML",
};

// A path shown in a list or a title is data, not the program's wording.
bool isPath(const QString& text)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    return text.startsWith(u'/') || text.contains(drive);
}

QString plain(const QString& text)
{
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// The texts of `widget` and of its visible children a user can read.
QStringList visibleTexts(QWidget* widget)
{
    QStringList texts{widget->windowTitle(), widget->toolTip()};
    auto visible = [widget](QWidget* child) { return child->isVisibleTo(widget); };
    for (QLabel* label : widget->findChildren<QLabel*>())
        if (visible(label))
            texts << plain(label->text()) << label->toolTip();
    for (QAbstractButton* button : widget->findChildren<QAbstractButton*>())
        if (visible(button))
            texts << button->text() << button->toolTip();
    for (QGroupBox* box : widget->findChildren<QGroupBox*>())
        if (visible(box))
            texts << box->title();
    for (QTabBar* bar : widget->findChildren<QTabBar*>())
        for (int i = 0; visible(bar) && i < bar->count(); ++i)
            texts << bar->tabText(i) << bar->tabToolTip(i);
    for (QLineEdit* line : widget->findChildren<QLineEdit*>())
        if (visible(line))
            texts << line->placeholderText() << line->toolTip();
    // Entries of fixed lists are the program's words; editable lists hold data.
    for (QComboBox* box : widget->findChildren<QComboBox*>())
        for (int i = 0; visible(box) && !box->isEditable() && i < box->count(); ++i)
            texts << box->itemText(i);
    for (QAbstractItemView* view : widget->findChildren<QAbstractItemView*>()) {
        if (!visible(view) || !view->model())
            continue;
        for (int c = 0; c < view->model()->columnCount(); ++c)
            texts << view->model()->headerData(c, Qt::Horizontal).toString();
    }
    for (QAction* action : widget->findChildren<QAction*>())
        texts << action->text().section(u'\t', 0, 0) << action->toolTip() << action->statusTip();
    return texts;
}

// "word (where)" for every Latin word that is not allowed.
QStringList foreignWords(const QString& where, const QStringList& texts)
{
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]+"));
    // An access key in parentheses, "終了(&X)", is a key, not a word.
    static const QRegularExpression accessKey(QStringLiteral("\\(&?[A-Za-z]\\)"));
    QStringList found;
    for (const QString& shown : texts) {
        if (isPath(shown))
            continue;
        const QString text = QString(shown).remove(accessKey);
        for (const QRegularExpressionMatch& match : latin.globalMatch(text)) {
            if (!Allowed.contains(match.captured()))
                found << QStringLiteral("%1 in \"%2\" (%3)").arg(match.captured(), shown, where);
        }
    }
    return found;
}

struct JapaneseEverywhere : ::testing::Test {
    test::ShippedFilesCopy files;
    QTranslator* translator = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        translator = InstallJapaneseTranslations(*qApp);
    }
    void TearDown() override
    {
        if (translator)
            QCoreApplication::removeTranslator(translator);
        delete translator;
        QLocale::setDefault(QLocale::c());
    }
};

} // namespace

TEST_F(JapaneseEverywhere, NoWindowShowsAWordOfLatinLettersThatIsNoNameUnitOrCode)
{
    // A window without a caption of its own shows the program's name.
    const QString testName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Vortan"));
    const auto restoreName = qScopeGuard([testName] { QCoreApplication::setApplicationName(testName); });
    // The address label the reports print is prepared at start-up and
    // given to the data sheet.
    SettingsStore store(files.writeSettingsFile({{"etc/住所名", "3"}, {"etc/その他_ComboIndex", "4"}}));
    ProgramState state;
    db::Workspace workspace;
    test::RecordingUserInterface ui;
    ui::MdiMainWindow window(store, state, workspace, ui, ui::ProgramChildWindows());
    ui::MdiMainWindow::DesktopActions quiet;
    quiet.endProgram = [] {};
    window.setDesktopActions(quiet);
    ASSERT_TRUE(window.showAndLoad());
    ASSERT_TRUE(window.loaded());
    EXPECT_EQ(state.settings.その他_ComboIndex, 0);
    auto* caption = window.childWindow(QStringLiteral("tb_DataSheet"))->findChild<QLabel*>(QStringLiteral("Label住所"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("調査現場"));

    QStringList found = foreignWords(QStringLiteral("F_MDIForm"), visibleTexts(&window));
    for (QAction* menu : window.menuBar()->actions())
        found += foreignWords(menu->objectName(), visibleTexts(menu->menu()));
    for (const QString& key : window.registry().keys()) {
        QWidget* screen = window.ensureChild(key);
        ASSERT_NE(screen, nullptr) << key.toStdString();
        screen->show();   // dialogs too, without their modal loop
        QCoreApplication::processEvents();
        found += foreignWords(key, visibleTexts(screen));
        if (!window.subWindowOf(key))
            screen->hide();
    }

    // The windows opened from other windows, and the toolkit's own dialogs.
    std::vector<std::unique_ptr<QWidget>> others;
    others.push_back(std::make_unique<ui::AboutDialog>(&window));
    others.push_back(std::make_unique<sheet::F_住所>(state, workspace, ui));
    others.push_back(std::make_unique<report::ReportOptionsDialog>(state, ui));
    others.push_back(std::make_unique<report::NextPageDialog>());
    others.push_back(std::make_unique<intake::frmCfDrive>(state, ui, QStringList{files.folder()}));
    auto fileDialog = std::make_unique<QFileDialog>(nullptr, QStringLiteral("ファイル名の選択"));
    fileDialog->setOption(QFileDialog::DontUseNativeDialog);
    others.push_back(std::move(fileDialog));
    auto colours = std::make_unique<QColorDialog>();
    colours->setOption(QColorDialog::DontUseNativeDialog);
    others.push_back(std::move(colours));
    for (const std::unique_ptr<QWidget>& other : others) {
        other->show();
        QCoreApplication::processEvents();
        found += foreignWords(QString::fromLatin1(other->metaObject()->className()), visibleTexts(other.get()));
        other->hide();
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
    window.close();
}
