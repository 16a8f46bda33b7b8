// The main window: its toolbar and menus, the screens it opens, its status
// panel, its load with good and missing databases, the database repair, the
// help-menu commands and its close.

#include "app/about_dialog.h"
#include "app/child_window_registry.h"
#include "core/error_reporter.h"
#include "core/failure.h"
#include "app/main_window.h"
#include "core/program_state.h"
#include "ui/common/qt_user_interface.h"
#include "core/settings_store.h"
#include "db/database.h"
#include "db/workspace.h"
#include "support/screen_driver.h"
#include "support/recording_user_interface.h"
#include "support/golden_file.h"
#include "support/screen_texts.h"
#include "support/test_databases.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <memory>

using namespace vortan;
using vortan::test::RecordingUserInterface;
using vortan::test::ShippedFilesCopy;
using vortan::ui::ChildPresentation;
using vortan::ui::ChildWindowContext;
using vortan::ui::ChildWindowEntry;
using vortan::ui::ChildWindowRegistry;
using vortan::ui::MainWindow;

namespace {

// The main window over a run's state, with a recording user interface and
// the desktop replaced by recorders.
struct MainWindowRun {
    SettingsStore store;
    ProgramState state;
    db::Workspace workspace;
    RecordingUserInterface ui;
    QStringList openedAddresses;
    QStringList manualFolders;
    int programEnds = 0;
    std::function<void(QStringView)> manualOpener;
    std::unique_ptr<MainWindow> window;

    explicit MainWindowRun(const QString& settingsFile = QString(),
                           ChildWindowRegistry registry = {})
        : store(settingsFile)
    {
        window = std::make_unique<MainWindow>(store, state, workspace, ui, std::move(registry));
        MainWindow::DesktopActions desktop;
        desktop.openManual = [this](QStringView folder) {
            manualFolders.append(folder.toString());
            if (manualOpener)
                manualOpener(folder);
        };
        desktop.openWebAddress = [this](const QString& address) {
            openedAddresses.append(address);
            return true;
        };
        desktop.endProgram = [this] { ++programEnds; };
        window->setDesktopActions(desktop);
    }
};

// A stand-in screen that counts how often it was made.
QWidget* countedScreen(int& creations, const QString& name)
{
    ++creations;
    auto* widget = new QWidget;
    widget->setObjectName(name);
    widget->setWindowTitle(name);
    widget->resize(300, 200);
    return widget;
}

// A stand-in data sheet with its survey number box.
QWidget* dataSheetStandIn()
{
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("F_DataSheet"));
    auto* other = new QLineEdit(sheet);
    other->setObjectName(QStringLiteral("txt_調査地区名"));
    auto* number = new QLineEdit(sheet);
    number->setObjectName(QStringLiteral("txt_調査地区No"));
    number->move(0, 30);
    sheet->resize(400, 300);
    return sheet;
}

using test::onNextModal;

} // namespace

TEST(MainWindowCommands, ToolbarAndMenusShowTheirCaptionsInOrder)
{
    MainWindowRun run;
    EXPECT_TRUE(test::matchesGolden(QStringLiteral("main_window.txt"), test::screenTexts(*run.window)));
}

TEST(MainWindowCommands, OnlyCommandsWithARegisteredScreenOrNoScreenAreEnabled)
{
    int creations = 0;
    ChildWindowRegistry registry;
    registry.addMdiChild("tb_Find", [&](const ChildWindowContext&) {
        return countedScreen(creations, "F_検索");
    });
    MainWindowRun run(QString(), std::move(registry));

    for (const char* key : {"tb_Find", "tb_Exit", "tb_データ受信", "tb_Delete", "tb_Format",
                            "mnu_データベースの修復", "mnu_終了", "mnu_上下", "mnu_sHelp",
                            "mnu_Version", "mnu_Update", "mnu_remote"}) {
        ASSERT_NE(run.window->commandAction(key), nullptr) << key;
        EXPECT_TRUE(run.window->commandAction(key)->isEnabled()) << key;
    }
    for (const char* key : {"tb_DataSheet", "tb_印刷フォーム", "tb_ＣＦデータ受信", "tb_姓名マスタ",
                            "tb_住所マスタ", "tb_土質マスタ", "tb_得意先マスタ", "tb_RNd値",
                            "tb_Qa値", "tb_Nd値", "mnu_プロパティ", "mnu_データコンバート"}) {
        ASSERT_NE(run.window->commandAction(key), nullptr) << key;
        EXPECT_FALSE(run.window->commandAction(key)->isEnabled()) << key;
    }
}

TEST(MainWindowScreens, AScreenIsCreatedOnFirstUseThenShownAgainAndBroughtToTheFront)
{
    int searches = 0;
    int prints = 0;
    ChildWindowRegistry registry;
    registry.addMdiChild("tb_Find", [&](const ChildWindowContext&) {
        return countedScreen(searches, "F_検索");
    });
    registry.addMdiChild("tb_印刷フォーム", [&](const ChildWindowContext&) {
        return countedScreen(prints, "F_印刷フォーム");
    });
    MainWindowRun run(QString(), std::move(registry));
    run.window->show();

    run.ui.setStatusText("データの検索中...");
    run.window->commandAction("tb_Find")->trigger();
    // A toolbar click first clears the status text.
    EXPECT_EQ(run.ui.statusText(), "");
    EXPECT_FALSE(run.ui.isBusy());
    QWidget* search = run.window->childWindow("tb_Find");
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->objectName(), "F_検索");
    EXPECT_TRUE(search->isVisible());

    run.window->commandAction("tb_印刷フォーム")->trigger();
    EXPECT_EQ(run.window->mdiArea()->activeSubWindow(), run.window->subWindowOf("tb_印刷フォーム"));

    run.window->commandAction("tb_Find")->trigger();
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(run.window->childWindow("tb_Find"), search);
    EXPECT_EQ(run.window->mdiArea()->activeSubWindow(), run.window->subWindowOf("tb_Find"));
    EXPECT_EQ(run.window->mdiArea()->subWindowList().size(), 2);

    // A minimised screen comes back when opened again.
    run.window->subWindowOf("tb_Find")->showMinimized();
    run.window->openChild("tb_Find");
    EXPECT_FALSE(run.window->subWindowOf("tb_Find")->isMinimized());
    EXPECT_EQ(searches, 1);
}

TEST(MainWindowScreens, AFailingScreenIsReportedAndLeavesNothingOpen)
{
    ChildWindowRegistry registry;
    registry.addMdiChild("tb_Find", [](const ChildWindowContext&) -> QWidget* {
        throw Failure(err::DbFileNotFound, "missing", "F_検索");
    });
    MainWindowRun run(QString(), std::move(registry));
    run.window->commandAction("tb_Find")->trigger();
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_TRUE(run.ui.lastMessage().text.startsWith("指定されたデータベースが見つかりませんでした｡"));
    EXPECT_EQ(run.window->childWindow("tb_Find"), nullptr);
    EXPECT_TRUE(run.window->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(run.programEnds, 0);
}

TEST(MainWindowScreens, TheOptionsDialogOpensModallyOnTheAskedTab)
{
    int creations = 0;
    ChildWindowRegistry registry;
    registry.add("mnu_プロパティ",
                 ChildWindowEntry{[&](const ChildWindowContext&) -> QWidget* {
                                      ++creations;
                                      auto* dialog = new QDialog;
                                      dialog->setObjectName("F_オプション");
                                      auto* tabs = new QTabWidget(dialog);
                                      tabs->setObjectName("TabStrip1");
                                      for (const char* tab : {"ユーザー情報", "位置", "その他", "その他２"})
                                          tabs->addTab(new QWidget, QString::fromUtf8(tab));
                                      return dialog;
                                  },
                                  ChildPresentation::ModalDialog, {}});
    MainWindowRun run(QString(), std::move(registry));
    run.window->show();

    int shownTab = -1;
    onNextModal([&](QWidget* modal) {
        shownTab = modal->findChild<QTabWidget*>("TabStrip1")->currentIndex();
    });
    run.window->openOptionsDialog(3);
    EXPECT_EQ(shownTab, 2);

    onNextModal([&](QWidget* modal) {
        shownTab = modal->findChild<QTabWidget*>("TabStrip1")->currentIndex();
    });
    run.window->openOptionsDialog(2);
    EXPECT_EQ(shownTab, 1);
    EXPECT_EQ(creations, 1);
}

TEST(MainWindowLoad, ALoadSetsUpTheMastersThenThePrintZoomThenShowsTheDataSheet)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    QStringList steps;
    ChildWindowRegistry registry;
    for (const char* key : {"tb_住所マスタ", "tb_姓名マスタ", "tb_土質マスタ"}) {
        const QString name = QString::fromUtf8(key);
        registry.add(name, ChildWindowEntry{[&steps, name](const ChildWindowContext& context) {
                                                 EXPECT_TRUE(context.workspace.surveyOpen());
                                                 steps.append("create " + name);
                                                 return new QWidget;
                                             },
                                             ChildPresentation::MdiChild,
                                             [&steps, name](QWidget*, const ChildWindowContext&) {
                                                 steps.append("set up " + name);
                                             }});
    }
    registry.addMdiChild("tb_印刷フォーム", [&](const ChildWindowContext&) {
        steps.append("create print");
        auto* print = new QWidget;
        auto* zoom = new QComboBox(print);
        zoom->setObjectName("Combo1");
        zoom->addItems({"200%", "100%", "75%", "50%", "25%", "14%"});
        return print;
    });
    registry.addMdiChild("tb_DataSheet", [&](const ChildWindowContext&) {
        steps.append("create sheet");
        return dataSheetStandIn();
    });
    MainWindowRun run(files.writeSettingsFile(), std::move(registry));

    ASSERT_TRUE(run.window->showAndLoad());
    EXPECT_TRUE(run.ui.messages().empty()) << run.ui.lastMessage().text.toStdString();
    EXPECT_TRUE(run.window->loaded());
    EXPECT_TRUE(run.workspace.surveyOpen());
    EXPECT_NE(run.workspace.postal(), nullptr);
    EXPECT_EQ(run.state.settings.データ位置, QDir::toNativeSeparators(files.surveyDatabase()));
    EXPECT_TRUE(run.window->helpFile().endsWith("Vortan.hlp"));

    // Masters in the order of their instances: names (1), soils (3), address labels (9).
    EXPECT_EQ(steps, QStringList({"create tb_姓名マスタ", "set up tb_姓名マスタ",
                                  "create tb_土質マスタ", "set up tb_土質マスタ",
                                  "create tb_住所マスタ", "set up tb_住所マスタ", "create print",
                                  "create sheet"}));

    QWidget* print = run.window->childWindow("tb_印刷フォーム");
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->findChild<QComboBox*>("Combo1")->currentText(), "100%");
    EXPECT_FALSE(run.window->subWindowOf("tb_印刷フォーム")->isVisible());
    EXPECT_FALSE(run.window->subWindowOf("tb_姓名マスタ")->isVisible());

    QWidget* sheet = run.window->childWindow("tb_DataSheet");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(run.window->mdiArea()->activeSubWindow(), run.window->subWindowOf("tb_DataSheet"));
    EXPECT_EQ(sheet->window()->focusWidget(), sheet->findChild<QWidget*>("txt_調査地区No"));
}

TEST(MainWindowLoad, AFailureThatEndsTheProgramWritesNoSettings)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString settings = files.writeSettingsFile();
    ChildWindowRegistry registry;
    registry.add("tb_姓名マスタ",
                 ChildWindowEntry{[](const ChildWindowContext&) { return new QWidget; },
                                  ChildPresentation::MdiChild,
                                  [](QWidget*, const ChildWindowContext&) {
                                      throw Failure(err::DbExclusive, "held", "F_Mast");
                                  }});
    MainWindowRun run(settings, std::move(registry));
    const QByteArray before = [&] {
        QFile file(settings);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    EXPECT_FALSE(run.window->showAndLoad());
    EXPECT_TRUE(run.ui.lastMessage().text.startsWith("Vortanデータベースが他のアプリケーションから占有"));
    EXPECT_TRUE(run.ui.lastMessage().text.endsWith("3045"));
    EXPECT_EQ(run.programEnds, 1);

    // Ending at once writes no settings even when the window goes away later.
    run.state.settings.会社名 = "書かれない会社";
    run.window->close();
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(run.programEnds, 1);
}

TEST(MainWindowRepair, ADamagedSurveyDatabaseIsReportedAndTheCommandStops)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    MainWindowRun run(files.writeSettingsFile());
    ASSERT_TRUE(run.window->showAndLoad());
    run.workspace.closeSurvey();
    {
        QFile damaged(files.surveyDatabase());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(QByteArray(4096, 'x'));
    }
    run.ui.clear();

    run.window->repairDatabases();
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_TRUE(run.ui.lastMessage().text.startsWith("高い確率で、データベースが損傷しています｡"));
    // Busy while it worked, not while the failure is told.
    EXPECT_EQ(run.ui.statusTexts(), QStringList({"Vortan.MDBの修復中...", ""}));
    EXPECT_FALSE(run.ui.isBusy());
    EXPECT_EQ(run.programEnds, 0);
}

TEST(MainWindowHelp, TheManualOpensFromTheSettingsFolderOrTheMissingBrowserIsReported)
{
    MainWindowRun run;
    run.state.settings.ini位置 = "/opt/My Vortan";
    run.window->commandAction("mnu_sHelp")->trigger();
    EXPECT_EQ(run.manualFolders, QStringList({"/opt/My Vortan"}));
    EXPECT_TRUE(run.ui.messages().empty());

    run.manualOpener = [](QStringView) {
        throw Failure(err::ProgramNotFound, "not found", "openManual");
    };
    run.window->commandAction("mnu_sHelp")->trigger();
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_EQ(run.ui.lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_EQ(run.ui.lastMessage().text, ManualViewerMissingText(platform::nativePathStyle()));
}

TEST(MainWindowClose, AScreenThatRefusesToCloseKeepsTheProgramRunning)
{
    // A screen with unsaved data that the user chose to keep.
    class KeepOpen : public QWidget {
    public:
        bool refuse = true;

    protected:
        void closeEvent(QCloseEvent* event) override
        {
            if (refuse)
                event->ignore();
        }
    };
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    KeepOpen* sheet = nullptr;
    ChildWindowRegistry registry;
    registry.addMdiChild("tb_DataSheet", [&](const ChildWindowContext&) {
        sheet = new KeepOpen;
        return sheet;
    });
    MainWindowRun run(files.writeSettingsFile(), std::move(registry));
    ASSERT_TRUE(run.window->showAndLoad());
    ASSERT_NE(sheet, nullptr);

    EXPECT_FALSE(run.window->close());
    EXPECT_TRUE(run.window->isVisible());
    EXPECT_TRUE(run.workspace.surveyOpen());
    EXPECT_EQ(run.programEnds, 0);

    // Exit closes the window; closing the program itself is the load test's.
    sheet->refuse = false;
    run.window->commandAction("tb_Exit")->trigger();
    EXPECT_FALSE(run.window->isVisible());
    EXPECT_FALSE(run.workspace.surveyOpen());
    EXPECT_EQ(run.programEnds, 1);
}

