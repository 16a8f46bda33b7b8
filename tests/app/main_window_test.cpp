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
#include "support/recording_user_interface.h"
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

int rowCount(db::Database& database, const QString& table)
{
    return database.openRecordSet(QStringLiteral("SELECT * FROM [") + table + QStringLiteral("];"))
        .recordCount();
}

QStringList names(const QList<QAction*>& actions)
{
    QStringList result;
    for (QAction* action : actions)
        result.append(action->objectName());
    return result;
}

// Runs `inspect` on the next modal window once it is up, then closes it.
void onNextModal(const std::function<void(QWidget*)>& inspect)
{
    QTimer::singleShot(10, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            onNextModal(inspect);
            return;
        }
        inspect(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
}

} // namespace

TEST(MainWindowCommands, ToolbarHoldsEveryButtonInOrderWithItsTexts)
{
    MainWindowRun run;
    QToolBar* toolbar = run.window->toolBar();
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->objectName(), "Toolbar1");
    EXPECT_EQ(run.window->objectName(), "F_MDIForm");
    EXPECT_EQ(run.window->windowTitle(), "大型動的コーン貫入試験データ処理");

    struct Expected {
        const char* key;
        const char* description;
        const char* toolTip;
    };
    const Expected expected[] = {
        {"tb_Exit", "Vortanの終了", nullptr},
        {"tb_Dummy1", nullptr, nullptr},
        {"tb_DataSheet", "データシートの表示", "データシートの表示"},
        {"tb_Find", "データ検索の表示", "測定データの検索"},
        {"tb_印刷フォーム", "印刷プレビューの表示", "印刷フォーム"},
        {"tb_データ受信", "メモリーカードの読み込み", "メモリーカードの読み込み"},
        {"tb_ＣＦデータ受信", "ＣＦデータカードの読み込み", "ＣＦデータの読み込み"},
        {"tb_Dummy5", nullptr, nullptr},
        {"tb_姓名マスタ", "姓名マスタの表示", "姓名マスタの編集"},
        {"tb_住所マスタ", "住所ラベル表記の表示", "住所ラベル表記の編集"},
        {"tb_天候マスタ", "天候マスタの表示", "天候マスタの編集"},
        {"tb_土質マスタ", "土質マスタの表示", "土質マスタの編集"},
        {"tb_得意先マスタ", "得意先マスタの表示", "得意先マスタの編集"},
        {"tb_調査目的マスタ", "調査目的マスタの表示", "調査目的マスタの編集"},
        {"tb_調査地区記事マスタ", "調査地区記事マスタの表示", "調査地区記事マスタの編集"},
        {"tb_測点記事マスタ", "測点記事マスタの表示", "測点記事マスタの編集"},
        {"tb_測点データ記事マスタ", "測点データ記事マスタの表示", "測点データ記事の編集"},
        {"tb_RNd値", "Nd値マスタの表示", "Nd値の計算式の編集"},
        {"tb_Qa値", "Qa値マスタの表示", "Qa値計算式の編集"},
        {"tb_Nd値", "Nd値マスタの表示", "Nd値計算式の編集"},
        {"tb_Delete", "メモリカードの削除", "メモリカードの削除"},
        {"tb_Format", "メモリカードのフォーマット", "メモリカードのフォーマット"},
    };
    const QList<QAction*> actions = toolbar->actions();
    ASSERT_EQ(actions.size(), std::size(expected));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE(expected[i].key);
        QAction* action = actions[i];
        EXPECT_EQ(action->objectName(), QString::fromUtf8(expected[i].key));
        if (!expected[i].description) {
            EXPECT_TRUE(action->isSeparator());
            continue;
        }
        EXPECT_EQ(action->text(), QString::fromUtf8(expected[i].description));
        EXPECT_EQ(action->statusTip(), QString::fromUtf8(expected[i].description));
        if (expected[i].toolTip) {
            EXPECT_EQ(action->toolTip(), QString::fromUtf8(expected[i].toolTip));
        }
        EXPECT_FALSE(action->icon().isNull());
    }
}

TEST(MainWindowCommands, MenusHoldEveryItemInOrderWithItsCaption)
{
    MainWindowRun run;
    const QList<QAction*> menus = run.window->menuBar()->actions();
    ASSERT_EQ(names(menus), QStringList({"mnu_ファイル", "mnu_編集", "mnu_ウィンドウ", "mnu_Help"}));
    EXPECT_EQ(menus[0]->text(), "ファイル(&F)");
    EXPECT_EQ(menus[1]->text(), "編集(&E)");
    EXPECT_EQ(menus[2]->text(), "ウィンドウ(&W)");
    EXPECT_EQ(menus[3]->text(), "ヘルプ(&H)");

    auto captions = [](QAction* menuAction) {
        QStringList result;
        for (QAction* item : menuAction->menu()->actions())
            result.append(item->objectName() + QLatin1Char('=') +
                          (item->isSeparator() ? QStringLiteral("-") : item->text()));
        return result;
    };
    EXPECT_EQ(captions(menus[0]),
              QStringList({"mnu_プロパティ=プロパティ(&P)", "mnu_Dummy1=-",
                           "mnu_データコンバート=データコンバート(&D)",
                           "mnu_データベースの修復=データベースの修復",
                           "mnu_旧データベースの取り込み=旧データベースの取り込み...", "mnu_Dummy2=-",
                           "mnu_終了=終了(&X)"}));
    EXPECT_EQ(captions(menus[1]),
              QStringList({"mnu_元に戻す=元に戻す(&U)\tCtrl+Z", "mnu_やり直し=やり直し(&R)\tCtrl+Y"}));
    EXPECT_EQ(captions(menus[2]),
              QStringList({"mnu_上下=上下に並べて表示(&H)", "mnu_左右=左右に並べて表示(&V)",
                           "mnu_重ねて=重ねて表示", "mnu_アイコン=アイコン整列"}));
    EXPECT_EQ(captions(menus[3]),
              QStringList({"mnu_sHelp=ヘルプ(&H)", "mnu_Version=バージョン情報(&A)",
                           "mnu_Update=アップデート情報を確認する", "mnu_remote=リモートサポート"}));
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

TEST(MainWindowScreens, InertCardButtonsOnlyClearTheStatusText)
{
    MainWindowRun run;
    for (const char* key : {"tb_データ受信", "tb_Delete", "tb_Format"}) {
        run.ui.setStatusText("印刷中...");
        run.window->commandAction(key)->trigger();
        EXPECT_EQ(run.ui.statusText(), "") << key;
    }
    EXPECT_TRUE(run.ui.messages().empty());
    EXPECT_TRUE(run.window->mdiArea()->subWindowList().isEmpty());
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

TEST(MainWindowStatus, PanelOneFollowsTheWindowWidthLessTwoHundred)
{
    MainWindowRun run;
    run.window->show();
    run.window->resize(900, 600);
    QApplication::processEvents();
    EXPECT_EQ(run.window->statusPanelWidth(), 700);

    run.window->resize(640, 600);
    QApplication::processEvents();
    EXPECT_EQ(run.window->statusPanelWidth(), 440);

    // Narrower than 200: the panel keeps its width.
    run.window->setMinimumWidth(0);
    run.window->resize(150, 600);
    QApplication::processEvents();
    ASSERT_LE(run.window->width(), 200);
    EXPECT_EQ(run.window->statusPanelWidth(), 440);
}

TEST(MainWindowStatus, StatusBarMessagesAndSetBusyShowInPanelOne)
{
    MainWindowRun run;
    run.window->statusBar()->showMessage("データの読み込み中...");
    EXPECT_EQ(run.window->statusText(), "データの読み込み中...");
    EXPECT_EQ(run.window->statusBar()->objectName(), "StatusBar1");

    QWidget form;
    run.window->setBusy("データの保存中...", true, &form, true);
    EXPECT_FALSE(form.isEnabled());
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(run.ui.statusText(), "データの保存中...");

    run.window->setBusy("", false, &form, true);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(run.ui.statusText(), "");

    // Busy without locking keeps the form usable.
    run.window->setBusy("印刷中...", true, &form, false);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
}

TEST(MainWindowLoad, AMissingSurveyDatabaseIsReportedAndTheWindowStaysOpen)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString missing = files.path("MISSING.MDB");
    const QString settings = files.writeSettingsFile({{"etc/データ位置", missing}});
    int sheets = 0;
    ChildWindowRegistry registry;
    registry.addMdiChild("tb_DataSheet", [&](const ChildWindowContext&) {
        ++sheets;
        return dataSheetStandIn();
    });
    MainWindowRun run(settings, std::move(registry));

    EXPECT_TRUE(run.window->showAndLoad());
    ASSERT_EQ(run.ui.messages().size(), 1u);
    const auto message = run.ui.lastMessage();
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_TRUE(message.text.startsWith("指定されたデータベースが見つかりませんでした｡ "));
    EXPECT_TRUE(message.text.contains(missing + " または、" + files.postalDatabase() + "\n"));
    EXPECT_TRUE(message.text.endsWith("\n3024"));
    EXPECT_EQ(run.ui.optionsDialogTabs(), std::vector<int>{3});
    EXPECT_TRUE(run.state.databaseNotFound);

    EXPECT_TRUE(run.window->isVisible());
    EXPECT_EQ(run.programEnds, 0);
    EXPECT_FALSE(run.window->loaded());
    EXPECT_FALSE(run.workspace.surveyOpen());
    // The steps after the failing one did not run.
    EXPECT_EQ(sheets, 0);
    EXPECT_TRUE(run.window->helpFile().isEmpty());
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

TEST(MainWindowLoad, AFailingMasterSetUpStopsTheLoadAtThatStep)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    int sheets = 0;
    ChildWindowRegistry registry;
    registry.add("tb_天候マスタ",
                 ChildWindowEntry{[](const ChildWindowContext&) { return new QWidget; },
                                  ChildPresentation::MdiChild,
                                  [](QWidget*, const ChildWindowContext&) {
                                      throw Failure(err::DivisionByZero, "Division by zero", "F_Mast");
                                  }});
    registry.addMdiChild("tb_DataSheet", [&](const ChildWindowContext&) {
        ++sheets;
        return dataSheetStandIn();
    });
    MainWindowRun run(files.writeSettingsFile(), std::move(registry));

    EXPECT_TRUE(run.window->showAndLoad());
    EXPECT_EQ(run.ui.lastMessage().text,
              "計算結果が許容範囲を超えてしまいました。入力値に間違いがないかお確かめください。11");
    EXPECT_EQ(sheets, 0);
    EXPECT_FALSE(run.window->loaded());
    EXPECT_TRUE(run.workspace.surveyOpen());
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

TEST(MainWindowRepair, RepairKeepsEveryRowAndReopensBothDatabases)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QByteArray oldTmp = qgetenv("tmp");
    qputenv("tmp", QDir::toNativeSeparators(temporary.path()).toLocal8Bit());

    MainWindowRun run(files.writeSettingsFile());
    ASSERT_TRUE(run.window->showAndLoad());
    run.workspace.survey()->execute("INSERT INTO [mst天候] ([天候名]) VALUES ('修復前の雨');");
    const int soils = rowCount(*run.workspace.survey(), "mst土質");
    const int weathers = rowCount(*run.workspace.survey(), "mst天候");
    const int postcodes = rowCount(*run.workspace.postal(), "〒");
    run.ui.clear();

    run.window->commandAction("mnu_データベースの修復")->trigger();

    if (oldTmp.isNull())
        qunsetenv("tmp");
    else
        qputenv("tmp", oldTmp);
    EXPECT_EQ(run.ui.statusTexts(),
              QStringList({"Vortan.MDBの修復中...", "YUUBIN.MDBの修復中...",
                           "データベースを修復しました｡"}));
    ASSERT_EQ(run.ui.messages().size(), 1u);
    const QStringList lines = run.ui.lastMessage().text.split('\n');
    EXPECT_EQ(lines.value(0), "データベースを修復しました｡");
    EXPECT_TRUE(lines.contains("Vortan.MDB: 損傷は見つかりませんでした。ファイルを最適化しました。"));
    EXPECT_TRUE(lines.contains("YUUBIN.MDB: 損傷は見つかりませんでした。ファイルを最適化しました。"));
    EXPECT_TRUE(lines.contains(QStringLiteral("　mst天候: %1 行").arg(weathers)));
    EXPECT_TRUE(lines.contains(QStringLiteral("　〒: %1 行").arg(postcodes)));
    EXPECT_EQ(run.ui.lastMessage().icon, MessageIcon::Information);

    ASSERT_TRUE(run.workspace.surveyOpen());
    ASSERT_NE(run.workspace.postal(), nullptr);
    EXPECT_EQ(rowCount(*run.workspace.survey(), "mst土質"), soils);
    EXPECT_EQ(rowCount(*run.workspace.survey(), "mst天候"), weathers);
    EXPECT_EQ(rowCount(*run.workspace.postal(), "〒"), postcodes);
    // The compacted copies were renamed into place.
    EXPECT_FALSE(QFile::exists(temporary.filePath("tmpVortan.MDB")));
    EXPECT_FALSE(QFile::exists(temporary.filePath("tmpYUUBIN.MDB")));
}

TEST(MainWindowRepair, ADamagedSurveyDatabaseIsSalvagedKeptBesideAndOpened)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    MainWindowRun run(files.writeSettingsFile());
    ASSERT_TRUE(run.window->showAndLoad());
    run.workspace.survey()->beginTransaction();
    for (int i = 0; i < 2000; ++i)
        run.workspace.survey()->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No, 測点No, 貫入深さ, 打撃回数) "
                                                       "VALUES (1, 'P1', %1, 5);").arg(i * 0.25));
    run.workspace.survey()->commit();
    run.workspace.closeSurvey();
    ASSERT_TRUE(vortan::test::breakDatabasePage(files.surveyDatabase(), -5));
    run.workspace.openSurvey(files.surveyDatabase());
    run.ui.clear();

    run.window->repairDatabases();

    ASSERT_EQ(run.ui.messages().size(), 1u);
    const QString text = run.ui.lastMessage().text;
    const QString kept = QDir::toNativeSeparators(files.path("VORTAN_修復前.MDB"));
    EXPECT_TRUE(text.contains("Vortan.MDB: 損傷していたため、読み出せたデータを新しいファイルに移しました。\n"
                              "損傷していた元のファイルは「" + kept + "」として残してあります。\n"
                              "テーブルごとの行数:\n"));
    EXPECT_TRUE(QFileInfo::exists(kept));
    // The records table names its loss; the repaired file is the one open.
    const qsizetype records = text.indexOf("　測点データ: ");
    ASSERT_GE(records, 0);
    const QString line = text.mid(records, text.indexOf('\n', records) - records);
    EXPECT_TRUE(line.endsWith("行（読み出せない部分がありました）")) << line.toStdString();
    EXPECT_TRUE(run.workspace.survey()->integrityCheck());
    EXPECT_EQ(QStringLiteral("　測点データ: %1 行（読み出せない部分がありました）")
                  .arg(rowCount(*run.workspace.survey(), "測点データ")),
              line);
    EXPECT_LT(rowCount(*run.workspace.survey(), "測点データ"), 2000);

    // Documentation picture: the message as the program shows it.
    const QByteArray folder = qgetenv("VORTAN_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QtUserInterface shown;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(box->grab().save(QString::fromLocal8Bit(folder) + "/database_repair_result.png"));
            box->close();
        });
        shown.showMessage(QString(text).replace(files.folder(), "/home/chosa/Vortan"), MessageIcon::Information);
    }
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
    EXPECT_EQ(run.ui.statusTexts(), QStringList({"Vortan.MDBの修復中..."}));
    EXPECT_EQ(run.programEnds, 0);
}

TEST(MainWindowHelp, UpdateAndRemoteSupportNeedTheirHosts)
{
    MainWindowRun run;
    run.window->commandAction("mnu_Update")->trigger();
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_EQ(run.ui.lastMessage().icon, MessageIcon::Information);
    EXPECT_TRUE(run.ui.lastMessage().text.startsWith("アップデート情報の確認先が設定されていません。"));
    EXPECT_TRUE(run.ui.lastMessage().text.contains("UpdateHost"));

    run.window->commandAction("mnu_remote")->trigger();
    ASSERT_EQ(run.ui.messages().size(), 2u);
    EXPECT_TRUE(run.ui.lastMessage().text.startsWith("リモートサポートのダウンロード先が設定されていません。"));
    EXPECT_TRUE(run.ui.lastMessage().text.contains("RemoteSupportHost"));
    EXPECT_TRUE(run.openedAddresses.isEmpty());

    run.state.settings.UpdateHost = "www.example.jp";
    run.state.settings.RemoteSupportHost = " support.example.jp/ ";
    run.window->commandAction("mnu_Update")->trigger();
    run.window->commandAction("mnu_remote")->trigger();
    EXPECT_EQ(run.openedAddresses,
              QStringList({"https://www.example.jp/Product/Software/vortan/vortanversion.html",
                           "https://support.example.jp/TeamViewerQS.exe"}));
    EXPECT_EQ(run.ui.messages().size(), 2u);
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

TEST(MainWindowHelp, TheVersionWindowShowsTitleVersionAndOkWithItsTimerStopped)
{
    MainWindowRun run;
    run.window->show();
    QString caption, title, version;
    bool okVisible = false;
    bool timerRunning = true;
    bool knownWhileShown = false;
    onNextModal([&](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), "frmAbout");
        caption = modal->windowTitle();
        title = modal->findChild<QLabel*>("lblTitle")->text();
        version = modal->findChild<QLabel*>("lblVersion")->text();
        okVisible = modal->findChild<QPushButton*>("cmdOK")->isVisible();
        timerRunning = modal->findChild<QTimer*>("Timer1")->isActive();
        knownWhileShown = run.window->aboutWindow() == modal;
    });
    run.window->commandAction("mnu_Version")->trigger();
    EXPECT_EQ(caption, "Vortanのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(title, "大型動的コーン貫入試験データ処理");
    EXPECT_TRUE(QRegularExpression("^ﾊﾞｰｼﾞｮﾝ \\d+\\.\\d+\\.\\d+$").match(version).hasMatch())
        << version.toStdString();
    EXPECT_TRUE(okVisible);
    EXPECT_FALSE(timerRunning);
    EXPECT_TRUE(knownWhileShown);
    // The about window exists only while shown.
    EXPECT_EQ(run.window->aboutWindow(), nullptr);
}

TEST(MainWindowHelp, TheUserInterfaceCanCloseAnOpenVersionWindow)
{
    MainWindowRun run;
    run.window->show();
    bool closedByRequest = false;
    QTimer::singleShot(10, run.window.get(), [&] {
        if (run.window->aboutWindow()) {
            run.window->closeAboutWindow();
            closedByRequest = true;
        }
    });
    // Should the request fail, the window is closed anyway so that the test ends.
    QTimer::singleShot(3000, run.window.get(), [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    run.window->showVersion();
    EXPECT_TRUE(closedByRequest);
}

TEST(MainWindowArrangement, TilingPutsScreensAboveEachOtherOrSideBySide)
{
    int creations = 0;
    ChildWindowRegistry registry;
    registry.addMdiChild("tb_Find", [&](const ChildWindowContext&) {
        return countedScreen(creations, "F_検索");
    });
    registry.addMdiChild("tb_DataSheet", [&](const ChildWindowContext&) {
        return countedScreen(creations, "F_DataSheet");
    });
    MainWindowRun run(QString(), std::move(registry));
    run.window->resize(1000, 700);
    run.window->show();
    run.window->openChild("tb_DataSheet");
    run.window->openChild("tb_Find");
    QMdiSubWindow* first = run.window->subWindowOf("tb_DataSheet");
    QMdiSubWindow* second = run.window->subWindowOf("tb_Find");
    const QRect area = run.window->mdiArea()->viewport()->rect();

    run.window->commandAction("mnu_上下")->trigger();
    EXPECT_EQ(first->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    EXPECT_EQ(second->geometry(), QRect(0, area.height() / 2, area.width(), area.height() / 2));

    run.window->commandAction("mnu_左右")->trigger();
    EXPECT_EQ(first->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(second->geometry(), QRect(area.width() / 2, 0, area.width() / 2, area.height()));

    run.window->commandAction("mnu_重ねて")->trigger();
    EXPECT_NE(first->pos(), second->pos());
    EXPECT_EQ(first->width(), second->width());

    first->showMinimized();
    second->showMinimized();
    run.window->commandAction("mnu_アイコン")->trigger();
    EXPECT_EQ(first->geometry().bottom(), area.bottom());
    EXPECT_EQ(second->geometry().bottom(), area.bottom());
    EXPECT_EQ(first->x(), 0);
    EXPECT_EQ(second->x(), first->width());
}

TEST(MainWindowClose, ClosingClosesTheDatabasesAndWritesTheSettings)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    MainWindowRun run(files.writeSettingsFile());
    ASSERT_TRUE(run.window->showAndLoad());
    run.state.settings.会社名 = "株式会社 テスト地盤";

    run.window->commandAction("tb_Exit")->trigger();
    EXPECT_FALSE(run.window->isVisible());
    EXPECT_FALSE(run.workspace.surveyOpen());
    EXPECT_EQ(run.workspace.postal(), nullptr);
    EXPECT_EQ(run.programEnds, 1);

    SettingsStore written(run.store.filePath());
    written.load();
    EXPECT_EQ(written.value("rep", "会社名", "?"), "株式会社 テスト地盤");
    EXPECT_EQ(written.value("etc", "データ位置", "?"), QDir::toNativeSeparators(files.surveyDatabase()));
    EXPECT_EQ(written.value("Com", "port", "?"), "1");
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

    sheet->refuse = false;
    EXPECT_TRUE(run.window->close());
    EXPECT_FALSE(run.workspace.surveyOpen());
    EXPECT_EQ(run.programEnds, 1);
}

TEST(MainWindowArrangement, TheWindowMenuListsTheOpenScreensAndEditUndoesInTheActiveOne)
{
    int creations = 0;
    QUndoStack* history = nullptr;
    ChildWindowRegistry registry;
    registry.addMdiChild("tb_DataSheet", [&](const ChildWindowContext& context) {
        QWidget* sheet = countedScreen(creations, "データシート");
        history = new QUndoStack(sheet);
        context.mainWindow.registerUndoStack(sheet, history);
        return sheet;
    });
    registry.addMdiChild("tb_Find", [&](const ChildWindowContext&) { return countedScreen(creations, "データ検索"); });
    MainWindowRun run(QString(), std::move(registry));
    run.window->show();
    run.window->openChild("tb_DataSheet");
    history->push(new QUndoCommand(QStringLiteral("入力")));
    QAction* undo = run.window->commandAction("mnu_元に戻す");
    EXPECT_TRUE(undo->isEnabled());
    run.window->openChild("tb_Find");
    EXPECT_FALSE(undo->isEnabled());   // the search keeps no history

    QMenu* windows = run.window->menuBar()->findChild<QMenu*>("mnu_ウィンドウ");
    emit windows->aboutToShow();
    QList<QAction*> listed = windows->findChildren<QAction*>("mnu_ウィンドウ一覧");
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0]->text() + listed[1]->text(), "&1 データシート&2 データ検索");
    EXPECT_TRUE(listed[1]->isChecked());
    listed[0]->trigger();
    EXPECT_EQ(run.window->mdiArea()->activeSubWindow(), run.window->subWindowOf("tb_DataSheet"));
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(history->index(), 0);
}

TEST(MainWindowClose, TheWindowComesBackWithItsPlaceSizeAndMaximisedState)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString settings = files.writeSettingsFile();
    // Each run ends as the last one left the window; the first was moved,
    // the second maximised.
    for (int run = 0; run < 3; ++run) {
        MainWindowRun program(settings);
        ASSERT_TRUE(program.window->showAndLoad());
        if (run > 0) {
            EXPECT_EQ(program.window->normalGeometry(), QRect(40, 30, 700, 500));
        }
        EXPECT_EQ(program.window->isMaximized(), run == 2);
        if (run == 0)
            program.window->setGeometry(40, 30, 700, 500);
        if (run == 1)
            program.window->showMaximized();
        program.window->close();
    }
}

// An old Access survey database at データ位置 is said to be one and offered
// for migration, instead of being called damaged.
TEST(MainWindowLegacyDatabase, AnAccessFileAtTheDataLocationIsMigratedBesideItOnYes)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString old = files.path("VORTAN.OLD.MDB");
    const QString migrated = files.path("VORTAN.OLD_移行.MDB");
    ASSERT_TRUE(test::copyWritable(QStringLiteral(VORTAN_FIXTURES_DIR "/legacy_mdb/vortan_v12.mdb"), old));
    QFile oldFile(old);
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = oldFile.readAll();
    oldFile.close();
    const QString question =
        "データ位置に指定されているファイルは、Access形式のデータベース（旧バージョンのVortanのデータベース）です。\n"
        + QDir::toNativeSeparators(old)
        + "\n\nこのデータベースを取り込んで、同じフォルダーに新しいデータベース\n" + QDir::toNativeSeparators(migrated)
        + "\nを作成し、データ位置をこのファイルに変更しますか？\n（元のファイルは変更されません。）";

    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        MainWindowRun run(files.writeSettingsFile({{"etc/データ位置", QDir::toNativeSeparators(old)}}));
        run.ui.queueAnswer(answer);
        EXPECT_TRUE(run.window->showAndLoad());
        ASSERT_FALSE(run.ui.messages().empty());
        const auto asked = run.ui.messages().front();
        EXPECT_EQ(asked.text, question);
        EXPECT_EQ(asked.icon, MessageIcon::Question);
        EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
        if (answer == MessageAnswer::No) {
            // Nothing else is said, nothing written, no database open.
            EXPECT_EQ(run.ui.messages().size(), 1u);
            EXPECT_FALSE(QFile::exists(migrated));
            EXPECT_FALSE(run.workspace.surveyOpen());
            continue;
        }
        ASSERT_EQ(run.ui.messages().size(), 2u);
        EXPECT_EQ(run.ui.lastMessage().icon, MessageIcon::Information);
        EXPECT_TRUE(run.ui.lastMessage().text.startsWith(
            "旧データベースを取り込みました。\n" + QDir::toNativeSeparators(migrated) + "\n\n調査地区：3件\n測点：10件\n"));
        EXPECT_TRUE(run.ui.statusTexts().contains("旧データベースの取り込み中... 100%"));
        ASSERT_TRUE(run.workspace.surveyOpen());
        EXPECT_EQ(QFileInfo(run.workspace.survey()->path()), QFileInfo(migrated));
        EXPECT_EQ(rowCount(*run.workspace.survey(), "測点データ"), 1473);
        SettingsStore written(run.store.filePath());
        written.load();
        EXPECT_EQ(written.value("etc", "データ位置", "?"), QDir::toNativeSeparators(migrated));
    }
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(oldFile.readAll(), oldBytes);
}

TEST(MainWindowLegacyDatabase, TheFileMenuImportsAnAccessFileWithItsProgressAndTableCounts)
{
    ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    MainWindowRun run(files.writeSettingsFile());
    ASSERT_TRUE(run.window->showAndLoad());
    QString target;
    QString suggested;
    MainWindow::DesktopActions desktop;
    desktop.chooseAccessFile = [](QWidget*) { return QStringLiteral(VORTAN_FIXTURES_DIR "/legacy_mdb/vortan_v10.mdb"); };
    desktop.chooseNewDatabase = [&](QWidget*, const QString& proposed) {
        suggested = proposed;
        return target;
    };
    run.window->setDesktopActions(desktop);

    // The survey database the program has open is never the target.
    target = files.surveyDatabase();
    run.window->commandAction("mnu_旧データベースの取り込み")->trigger();
    EXPECT_EQ(QFileInfo(suggested).fileName(), "vortan_v10_移行.mdb");
    EXPECT_EQ(run.ui.lastMessage().text,
              "使用中のデータベースを新しいデータベースにすることはできません。\n" + files.surveyDatabase());
    EXPECT_EQ(rowCount(*run.workspace.survey(), "調査地区"), 0);

    target = files.path("new.mdb");
    run.ui.clear();
    run.window->commandAction("mnu_旧データベースの取り込み")->trigger();
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_EQ(run.ui.lastMessage().icon, MessageIcon::Information);
    EXPECT_EQ(run.ui.lastMessage().text.section(u'\n', 2),
              "\n調査地区：2件\n測点：3件\n測点データ：75件\nmst土質：6件\nmst天候：6件\nmst住所：1件\n"
              "mst調査目的：4件\nmst調査地区記事：1件\nmst姓名：2件\nmst測点記事：1件\nmst測点データ記事：2件\n"
              "mst得意先：2件\nmstRNd値計算式：6件\nmstNd値計算式：5件\nmstQa値計算式：5件\nSystemSetting：1件");
    const QStringList percents = run.ui.statusTexts().filter("旧データベースの取り込み中... ");
    ASSERT_FALSE(percents.isEmpty());
    EXPECT_EQ(percents.last(), "旧データベースの取り込み中... 100%");
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(run.ui.isBusy());
}
