// The database migrated from the current-layout Access file in use: the data
// sheet opens its surveys and shows the ⊿Nd, Nd and qa that vortan-cli calc
// computes on it.

#include "calc/penetration_calculator.h"
#include "db/master_lists.h"
#include "db/program_start.h"
#include "db/workspace.h"
#include "migrate/legacy_migration.h"
#include "ui/sheet/data_sheet_window.h"
#include "sheet/survey_document.h"
#include "support/cli_runner.h"
#include "support/qstring_printer.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <QFile>
#include <QRegularExpression>
#include <QTableView>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

struct MigratedDatabase : ::testing::Test {
    test::ShippedFilesCopy files;
    QString settings;

    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        // The migrated database takes the place of the shipped one.
        ASSERT_TRUE(QFile::remove(files.surveyDatabase()));
        migrate::MigrationOptions options;
        options.readerProgram = test::programFile(QStringLiteral("vortan-mdb-reader"));
        migrate::MigrateLegacyDatabase(QStringLiteral(VORTAN_FIXTURES_DIR "/legacy_mdb/vortan_v12.mdb"),
                                       files.surveyDatabase(), options);
        settings = files.writeSettingsFile();
    }

    test::CliResult cli(const QStringList& arguments)
    {
        return test::runCli(QStringList{QStringLiteral("--settings"), settings} + arguments,
                            test::cliEnvironment(settings));
    }
};

TEST_F(MigratedDatabase, OpensInTheDataSheetWithTheValuesCalcComputes)
{
    // Survey 4 holds a record with Null torque and Null soil, a torque of -0.5
    // and one of 1/3 as a single, and a blow count of 1000.
    const test::CliResult calc = cli({QStringLiteral("calc"), QStringLiteral("--survey"), QStringLiteral("4")});
    ASSERT_EQ(calc.exitCode, 0) << calc.err.toStdString();

    SettingsStore store(settings);
    ProgramState state;
    db::Workspace workspace;
    test::RecordingUserInterface ui;
    ASSERT_TRUE(db::LoadProgram(store, state, workspace, ui).completed()) << ui.messageTexts().join(u'\n').toStdString();
    db::MasterLists lists;
    calc::PenetrationCalculator calculator(workspace, state);
    sheet::SurveyDocument document(sheet::SurveyDocument::Services{state, workspace, lists, ui, calculator});
    sheet::DataSheetWindow window(state, workspace, lists, ui, document);
    window.show();
    ASSERT_EQ(window.openSurvey(QStringLiteral("4")), sheet::Outcome::Done);

    // The first point's grid, row by row, as calc prints that point's records.
    auto* points = window.findChild<QTableView*>(QStringLiteral("vaSpread1"));
    auto* records = window.findChild<QTableView*>(QStringLiteral("vaSpread2"));
    ASSERT_TRUE(points && records);
    ASSERT_EQ(points->model()->rowCount(), 3);
    const QString point = points->model()->headerData(0, Qt::Vertical).toString();
    QStringList shown;
    for (int r = 0; r < records->model()->rowCount(); ++r) {
        QStringList cells{point};
        for (int c = 0; c < 8; ++c)
            cells << records->model()->index(r, c).data().toString();
        if (!cells[1].isEmpty())
            shown << cells.join(u'\t');
    }
    const QStringList printed = calc.outLines().filter(QRegularExpression(u'^' + point + u'\t'));
    EXPECT_EQ(shown.size(), 25);
    EXPECT_EQ(shown, printed);
}

} // namespace
