// The start-up load without windows: settings, the two databases and the
// schema check, each failure reported and ending the load at its step; and
// the close that ends a run.

#include "core/program_state.h"
#include "core/settings_store.h"
#include "db/database.h"
#include "db/program_start.h"
#include "db/workspace.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::db;

namespace {

class ProgramStartTest : public ::testing::Test {
protected:
    vortan::test::ShippedFilesCopy files;
    vortan::test::RecordingUserInterface ui;
    ProgramState state;
    Workspace workspace;

    void SetUp() override { ASSERT_TRUE(files.isValid()); }

    ProgramLoadResult load(const QString& settingsFile, std::function<void(SettingsStore&)> adjust = {})
    {
        SettingsStore store(settingsFile);
        // A program folder without the default files: only the settings decide.
        return LoadProgram(store, state, workspace, ui,
                           ProgramLoadOptions{files.path("program"), std::move(adjust), {}});
    }
};

TEST_F(ProgramStartTest, LoadsSettingsAndOpensBothDatabases)
{
    const ProgramLoadResult result = load(files.writeSettingsFile({{"etc/通常の提出先", "東邦建設"}}));

    EXPECT_TRUE(result.completed());
    EXPECT_FALSE(result.endProgram());
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join('\n').toStdString();
    EXPECT_EQ(state.settings.通常の提出先, "東邦建設");
    ASSERT_NE(workspace.survey(), nullptr);
    ASSERT_NE(workspace.postal(), nullptr);
    EXPECT_EQ(QDir::cleanPath(workspace.survey()->path()), QDir::cleanPath(files.surveyDatabase()));
    EXPECT_EQ(QDir::cleanPath(workspace.postal()->path()), QDir::cleanPath(files.postalDatabase()));
    // rqtbl.csv came from the settings folder.
    EXPECT_EQ(state.bearingFactorTable.size(), 402u);
}

TEST_F(ProgramStartTest, MissingSurveyDatabaseIsReportedAndEndsTheLoad)
{
    const QString missing = QDir::toNativeSeparators(files.path("nowhere.mdb"));
    const ProgramLoadResult result = load(files.writeSettingsFile({{"etc/データ位置", missing}}));

    EXPECT_EQ(result.reached, LoadStep::SurveyDatabase);
    EXPECT_FALSE(result.endProgram());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.lastMessage().text.startsWith("指定されたデータベースが見つかりませんでした"));
    EXPECT_TRUE(ui.lastMessage().text.contains(missing));
    EXPECT_TRUE(ui.lastMessage().text.endsWith("3024"));
    EXPECT_TRUE(state.databaseNotFound);
    EXPECT_EQ(ui.optionsDialogTabs(), std::vector<int>{3});
    EXPECT_FALSE(workspace.surveyOpen());
    EXPECT_EQ(workspace.postal(), nullptr);
}

TEST_F(ProgramStartTest, MissingPostalDatabaseLeavesTheSurveyDatabaseOpen)
{
    const ProgramLoadResult result = load(files.writeSettingsFile({{"etc/住所位置", files.path("none.MDB")}}));

    EXPECT_EQ(result.reached, LoadStep::PostalDatabase);
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(workspace.surveyOpen());
    EXPECT_EQ(workspace.postal(), nullptr);
}

TEST_F(ProgramStartTest, UnreadableSettingStopsBeforeTheDatabases)
{
    const ProgramLoadResult result = load(files.writeSettingsFile({{"Com/port", "COM1"}}));

    EXPECT_EQ(result.reached, LoadStep::Settings);
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_FALSE(workspace.surveyOpen());
    EXPECT_EQ(workspace.postal(), nullptr);
}

TEST_F(ProgramStartTest, OlderSurveyDatabaseIsUpgradedDuringTheLoad)
{
    const QString old = files.path("old.mdb");
    {
        auto db = Database::create(old);
        db->execute("CREATE TABLE [測点] ( [調査地区No] Long, [測点No] String(10) );");
        db->execute("CREATE TABLE [測点データ] ( [調査地区No] Long, [測点No] String(10) );");
        db->execute("CREATE TABLE [mstRNd値計算式] ( [計算式コード] Long, [B] Single );");
        db->close();
    }
    const ProgramLoadResult result = load(files.writeSettingsFile({{"etc/データ位置", old}}));

    EXPECT_TRUE(result.completed());
    RecordSet rows = workspace.survey()->openRecordSet(
        "select SystemSetting.Value from SystemSetting where SystemSetting.Key = 'DBVersion' ;");
    ASSERT_FALSE(rows.eof());
    EXPECT_EQ(rows.field("Value").toText(), "1.2");
}

TEST_F(ProgramStartTest, VersionTableWithoutItsRowIsReported)
{
    {
        auto db = Database::open(files.surveyDatabase());
        db->execute("DELETE SystemSetting.* FROM SystemSetting ;");
        db->close();
    }
    const ProgramLoadResult result = load(files.writeSettingsFile());

    EXPECT_EQ(result.reached, LoadStep::SchemaVersion);
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(workspace.surveyOpen());
}

TEST_F(ProgramStartTest, StoreCanBeAdjustedBeforeTheSettingsAreTaken)
{
    const QString other = files.path("other.mdb");
    ASSERT_TRUE(vortan::test::copyWritable(files.surveyDatabase(), other));
    const ProgramLoadResult result = load(files.writeSettingsFile(), [&](SettingsStore& store) {
        store.setValue("etc", "データ位置", other);
    });

    EXPECT_TRUE(result.completed());
    EXPECT_EQ(state.settings.データ位置, other);
    EXPECT_EQ(QDir::cleanPath(workspace.survey()->path()), QDir::cleanPath(other));
}

TEST_F(ProgramStartTest, CloseClosesTheDatabasesAndWritesTheSettingsBack)
{
    const QString settingsFile = files.writeSettingsFile();
    SettingsStore store(settingsFile);
    ASSERT_TRUE(LoadProgram(store, state, workspace, ui, ProgramLoadOptions{files.path("program"), {}, {}})
                    .completed());
    state.settings.会社名 = "株式会社テスト";

    EXPECT_EQ(CloseProgram(store, state, workspace, ui), 0);

    EXPECT_FALSE(workspace.surveyOpen());
    EXPECT_EQ(workspace.postal(), nullptr);
    SettingsStore reread(settingsFile);
    reread.load();
    EXPECT_EQ(reread.value("rep", "会社名"), std::optional<QString>("株式会社テスト"));
    EXPECT_EQ(reread.value("etc", "データ位置"), std::optional<QString>(QDir::toNativeSeparators(files.surveyDatabase())));
    // The database file can be replaced now that nothing holds it.
    EXPECT_TRUE(QFile::remove(files.surveyDatabase()));
}

} // namespace
