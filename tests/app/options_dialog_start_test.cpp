// A program started with a missing survey database: after the 3024 message
// the main window shows the real options dialog on its "その他" page.

#include "app/screen_registration.h"
#include "app/main_window.h"
#include "app/options_dialog.h"
#include "core/program_state.h"
#include "core/settings_store.h"
#include "db/workspace.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

// Records like the test interface and opens the options dialog through the
// main window, as the window program's interface does.
class ForwardingUserInterface : public test::RecordingUserInterface {
public:
    ui::MainWindow* window = nullptr;
    void openOptionsDialog(int tab) override
    {
        test::RecordingUserInterface::openOptionsDialog(tab);
        if (window)
            window->openOptionsDialog(tab);
    }
};

TEST(ProgramStart, AMissingSurveyDatabaseLandsOnTheOptionsDialogsThirdTab)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString missing = files.path("VORTAN_missing.MDB");
    SettingsStore store(files.writeSettingsFile({{"etc/データ位置", missing}}));
    ProgramState state;
    db::Workspace workspace;
    ForwardingUserInterface ui;
    ui::MainWindow window(store, state, workspace, ui, ui::ProgramChildWindows());
    ui.window = &window;
    int ends = 0;
    ui::MainWindow::DesktopActions desktop = ui::MainWindow::platformDesktopActions();
    desktop.endProgram = [&] { ++ends; };
    window.setDesktopActions(desktop);

    struct Seen {
        bool dialog = false;
        int messagesBefore = -1;
        int tab = -1;
        int frame = -1;
        QString explanation;
        QString surveyPath;
    } seen;
    // The dialog runs modally inside the load: a timer of this test looks
    // at it and closes it.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* options = dynamic_cast<OptionsDialog*>(QApplication::activeModalWidget());
        if (!options)
            return;
        poll.stop();
        seen.dialog = true;
        seen.messagesBefore = static_cast<int>(ui.messages().size());
        seen.tab = options->findChild<QTabBar*>("TabStrip1")->currentIndex();
        seen.frame = options->visibleFrame();
        seen.explanation = options->findChild<QLineEdit*>("Text1")->text();
        seen.surveyPath = options->findChild<QLineEdit*>("txt_データ位置")->text();
        options->reject();
    });
    poll.start();

    EXPECT_TRUE(window.showAndLoad());
    ASSERT_TRUE(seen.dialog) << ui.messageTexts().join("|").toStdString();
    EXPECT_EQ(seen.messagesBefore, 1);
    EXPECT_TRUE(ui.messages().front().text.endsWith("\n3024"));
    EXPECT_EQ(seen.tab, 2);
    EXPECT_EQ(seen.frame, 4);
    EXPECT_EQ(seen.explanation, "　上記の設定値は、計算式の換算値に用いられます。");
    EXPECT_EQ(seen.surveyPath, missing);
    EXPECT_TRUE(state.databaseNotFound);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(ends, 0);
}

} // namespace
