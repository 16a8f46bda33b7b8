// The road a surveyor takes every day, through the screens that take data in
// and out: two runs of a memory card stored as a survey, the survey on the
// data sheet's document with ⊿Nd, Nd and qa computed and saved, written to an
// exchange file for one survey, and read into another office's database in
// add mode, where it stands under a new number with the very same rows. And
// the same card through the card import window onto the data sheet window and
// into the print window: every point on the record sheet and the depth
// chart, and the page range following the next, longer survey.

#include "ui/intake/card_import_window.h"
#include "ui/report/print_preview_window.h"
#include "support/recording_surface.h"
#include "report/report_run.h"
#include "ui/sheet/data_sheet_window.h"
#include "ui/intake/conversion_window.h"
#include "intake/intake_test_support.h"
#include "support/recording_user_interface.h"

#include "calc/penetration_calculator.h"
#include "core/bearing_factor_table.h"
#include "core/program_state.h"
#include "db/master_lists.h"
#include "db/survey_store.h"
#include "sheet/survey_document.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vortan;
using vortan::sheet::HeaderField;
using vortan::sheet::PointColumn;
using vortan::sheet::Outcome;
using vortan::sheet::RecordColumn;
using vortan::test::RecordingUserInterface;
using vortan::test::SurveyDatabaseCopy;

namespace {

const QString FixtureCard = QStringLiteral(VORTAN_FIXTURES_DIR "/intake/card_two_sites.csv");

// Every row of a survey's table without its survey number, in a fixed order.
QStringList surveyRows(db::Database& db, const QString& table, std::int32_t number, const QString& order)
{
    db::RecordSet rows = db.openRecordSet(QStringLiteral("SELECT * FROM ") + table
                                          + QStringLiteral(" WHERE 調査地区No = ") + QString::number(number)
                                          + QStringLiteral(" ORDER BY ") + order + QStringLiteral(";"));
    QStringList out;
    while (!rows.eof()) {
        QStringList values;
        for (int i = 0; i < rows.fieldCount(); ++i) {
            if (rows.fieldName(i).compare(QStringLiteral("調査地区No"), Qt::CaseInsensitive) == 0)
                continue;
            values.append(rows.field(i).isNull() ? QStringLiteral("∅") : rows.field(i).toText());
        }
        out.append(values.join(QLatin1Char('|')));
        rows.moveNext();
    }
    return out;
}

void click(QWidget* screen, const char* name)
{
    auto* button = screen->findChild<QPushButton*>(QString::fromUtf8(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Reads the fixture card in the card import window, moves its first two runs
// (point 1, and point 2 before it was begun again) to the transfer list and
// stores them; returns the survey number the window proposed.
QString importFirstTwoRuns(intake::CardImportWindow& card)
{
    card.setFileChooser([](const QString&) { return FixtureCard; });
    card.show();
    card.resetOnActivation();
    click(&card, "cmdIndex");
    auto* cardList = card.findChild<QListWidget*>(QStringLiteral("lst_非転送"));
    if (!cardList || cardList->count() < 2)
        return QString();
    for (int row : {0, 1})
        QTest::mouseClick(cardList->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          cardList->visualItemRect(cardList->item(row)).center());
    click(&card, "cmd_選択");
    const QString number = card.findChild<QLineEdit*>(QStringLiteral("txt_調査地区No"))->text();
    click(&card, "cmdKakutei");
    return number;
}

TEST(TypicalRoad, CardRunsBecomeASurveyThatTravelsToAnotherDatabaseUnchanged)
{
    SurveyDatabaseCopy office;
    ASSERT_TRUE(office.isValid());
    ProgramState state;
    state.settings.ini位置 = office.files.folder();
    state.settings.通常の提出先 = QStringLiteral("一般");
    ASSERT_TRUE(LoadBearingFactorTable(office.files.folder(), state.bearingFactorTable));
    RecordingUserInterface ui;

    // The card: its first two runs (point 1, and point 2 before it was begun again).
    QString opened;
    intake::CardImportWindow card(state, office.workspace, ui);
    card.setSurveyOpener([&](const QString& number) { opened = number; });
    const QString number = importFirstTwoRuns(card);
    ASSERT_EQ(opened, number) << ui.messageTexts().join('\n').toStdString();

    // The data sheet's document loads the new survey and computes every record.
    db::MasterLists lists;
    calc::PenetrationCalculator calculator(office.workspace, state);
    sheet::SurveyDocument document(
        sheet::SurveyDocument::Services{state, office.workspace, lists, ui, calculator});
    ASSERT_EQ(document.clear(), Outcome::Done);
    document.setHeader(HeaderField::調査地区No, number);
    ASSERT_EQ(document.load(), Outcome::Done);
    ASSERT_EQ(document.pointCount(), 2);
    int records = 0;
    for (int p = 0; p < document.pointCount(); ++p) {
        for (int r = 0; r < document.recordCount(p); ++r, ++records) {
            // The card's soil codes are positions in the soil list (sand and clay here).
            EXPECT_FALSE(document.recordCell(p, r, RecordColumn::推定土質).isEmpty());
            EXPECT_FALSE(document.recordCell(p, r, RecordColumn::補正値).isEmpty());
            EXPECT_FALSE(document.recordCell(p, r, RecordColumn::補正打撃回数).isEmpty());
            EXPECT_FALSE(document.recordCell(p, r, RecordColumn::換算支持力).isEmpty());
        }
    }
    EXPECT_EQ(records, 5);
    // Completed at the desk and saved over the card's survey.
    document.setHeader(HeaderField::現場名, QStringLiteral("港北ニュータウン ①期"), sheet::EditSource::User);
    ui.queueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(document.save().outcome, Outcome::Done);

    // Written to an exchange file for that one survey.
    const QString file = office.path(QStringLiteral("road.csv"));
    state.settings.csv位置 = file;
    intake::ConversionWindow writer(state, office.workspace, ui);
    writer.show();
    writer.findChild<QRadioButton*>(QStringLiteral("Option1(2)"))->click();
    writer.findChild<QCheckBox*>(QStringLiteral("chk_指定データの保存"))->click();
    writer.findChild<QLineEdit*>(QStringLiteral("txt_調査地区No"))->setText(number);
    click(&writer, "Command1");
    ASSERT_TRUE(QFile::exists(file)) << ui.messageTexts().join('\n').toStdString();

    // Read into another database, which already holds survey 41.
    SurveyDatabaseCopy branch;
    ASSERT_TRUE(branch.isValid());
    branch.db().execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名) VALUES (41, '既存');"));
    ProgramState branchState;
    branchState.settings.csv位置 = file;
    RecordingUserInterface branchUi;
    intake::ConversionWindow reader(branchState, branch.workspace, branchUi);
    reader.show();
    reader.findChild<QRadioButton*>(QStringLiteral("Option1(0)"))->click();
    click(&reader, "Command1");
    EXPECT_EQ(branchUi.statusText(), QStringLiteral("データを読み込みました。"));

    // The same survey under the next free number, row for row.
    const std::int32_t stored = number.toInt();
    EXPECT_EQ(surveyRows(branch.db(), QStringLiteral("調査地区"), 42, QStringLiteral("調査地区No")),
              surveyRows(office.db(), QStringLiteral("調査地区"), stored, QStringLiteral("調査地区No")));
    EXPECT_EQ(surveyRows(branch.db(), QStringLiteral("測点"), 42, QStringLiteral("測点No, 日付, 開始時刻")),
              surveyRows(office.db(), QStringLiteral("測点"), stored, QStringLiteral("測点No, 日付, 開始時刻")));
    const QStringList records42 =
        surveyRows(branch.db(), QStringLiteral("測点データ"), 42, QStringLiteral("測点No, 貫入深さ"));
    EXPECT_EQ(records42.size(), 5);
    EXPECT_EQ(records42, surveyRows(office.db(), QStringLiteral("測点データ"), stored,
                                    QStringLiteral("測点No, 貫入深さ")));
}


} // namespace
