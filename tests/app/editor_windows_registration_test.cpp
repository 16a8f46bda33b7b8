// The main window's toolbar opens the nine master editors and the three
// formula editors through the program's registry of screens.

#include "ui/calc/formula_editor_window.h"
#include "app/screen_registration.h"
#include "app/main_window.h"
#include "core/program_state.h"
#include "core/settings_store.h"
#include "core/text_grid_model.h"
#include "db/workspace.h"
#include "ui/sheet/master_editor_window.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

TEST(EditorWindowsRegistration, ToolbarButtonsOpenTheTwelveEditors)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    SettingsStore store(files.path(QStringLiteral("settings.ini")));
    ProgramState state;
    state.settings.ini位置 = files.folder();
    db::Workspace workspace;
    workspace.openSurvey(files.surveyDatabase());
    test::RecordingUserInterface ui;
    ui::MainWindow main(store, state, workspace, ui, ui::ProgramChildWindows());
    main.resize(1200, 800);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    const QList<QPair<const char*, const char*>> masters = {
        {"tb_姓名マスタ", "姓名マスタの編集"},
        {"tb_住所マスタ", "住所マスタの編集"},
        {"tb_天候マスタ", "天候マスタの編集"},
        {"tb_土質マスタ", "土質マスタの編集"},
        {"tb_得意先マスタ", "得意先マスタの編集"},
        {"tb_調査目的マスタ", "調査目的マスタの編集"},
        {"tb_調査地区記事マスタ", "調査地区記事マスタの編集"},
        {"tb_測点記事マスタ", "測点記事マスタの編集"},
        {"tb_測点データ記事マスタ", "測点データ記事マスタの編集"},
    };
    for (const auto& [key, caption] : masters) {
        const QString k = QString::fromUtf8(key);
        ASSERT_TRUE(main.commandAction(k)->isEnabled()) << key;
        main.commandAction(k)->trigger();
        auto* editor = qobject_cast<sheet::MasterEditorWindow*>(main.childWindow(k));
        ASSERT_NE(editor, nullptr) << key;
        EXPECT_EQ(editor->windowTitle(), QString::fromUtf8(caption));
        EXPECT_EQ(main.mdiArea()->activeSubWindow(), main.subWindowOf(k));
    }
    // Opened and activated, the weather master shows its table.
    auto* weather = qobject_cast<sheet::MasterEditorWindow*>(main.childWindow(QStringLiteral("tb_天候マスタ")));
    main.commandAction(QStringLiteral("tb_天候マスタ"))->trigger();
    EXPECT_EQ(weather->model()->index(0, 0).data().toString(), QStringLiteral("晴れ"));

    const QList<QPair<const char*, const char*>> formulas = {
        {"tb_RNd値", "F_RNd値計算式"},
        {"tb_Qa値", "F_Qa値計算式"},
        {"tb_Nd値", "F_Nd値計算式"},
    };
    for (const auto& [key, name] : formulas) {
        const QString k = QString::fromUtf8(key);
        ASSERT_TRUE(main.commandAction(k)->isEnabled()) << key;
        main.commandAction(k)->trigger();
        QWidget* editor = main.childWindow(k);
        ASSERT_NE(editor, nullptr) << key;
        EXPECT_EQ(editor->objectName(), QString::fromUtf8(name));
        EXPECT_TRUE(editor->isVisible());
    }
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
