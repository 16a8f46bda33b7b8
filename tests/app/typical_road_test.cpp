// The road a surveyor takes every day: runs of a memory card through the card
// import window onto the data sheet window and into the print window, every
// point on the record sheet and the depth chart, and the page range following
// the next, longer survey.

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

int pdfPages(const QString& path)
{
    const QByteArray bytes = test::readBytes(path);
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "));
}

TEST(TypicalRoad, ACardSurveyPrintsEveryPointAndThePrintWindowFollowsTheNextSurvey)
{
    SurveyDatabaseCopy office;
    ASSERT_TRUE(office.isValid());
    ProgramState state;
    state.settings.ini位置 = office.files.folder();
    state.settings.通常の提出先 = QStringLiteral("一般");
    state.graphDataName = QStringLiteral("Nd");
    ASSERT_TRUE(LoadBearingFactorTable(office.files.folder(), state.bearingFactorTable));
    RecordingUserInterface ui;
    db::MasterLists lists;
    calc::PenetrationCalculator calculator(office.workspace, state);
    sheet::SurveyDocument document(sheet::SurveyDocument::Services{state, office.workspace, lists, ui, calculator});
    sheet::DataSheetWindow sheet(state, office.workspace, lists, ui, document);
    sheet.show();

    // The card's first two runs (points 1 and 2), opened on the data sheet.
    intake::CardImportWindow card(state, office.workspace, ui);
    card.setSurveyOpener([&](const QString& number) { sheet.openSurvey(number); });
    const QString number = importFirstTwoRuns(card);
    ASSERT_EQ(document.header(HeaderField::調査地区No), number) << ui.messageTexts().join('\n').toStdString();
    ASSERT_EQ(document.pointCount(), 2);
    // Imported points are marked for printing; every record is computed.
    for (int p = 0; p < 2; ++p) {
        EXPECT_TRUE(report::isMarkedForPrinting(document, p));
        for (int r = 0; r < document.recordCount(p); ++r)
            EXPECT_FALSE(document.recordCell(p, r, RecordColumn::換算支持力).isEmpty());
    }

    // The print window counts one record-sheet page per point and shows the first.
    report::PrintPreviewWindow window(report::PrintPreviewWindow::Services{document, state, ui, &office.workspace},
                                      std::make_unique<report::FixedPrinter>());
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.previewImage().isNull(); }, 5000));
    const auto endPage = [&] { return window.findChild<QLineEdit*>(QStringLiteral("txt_終了ページ"))->text(); };
    EXPECT_EQ(endPage(), QStringLiteral("2"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lbl_ページ"))->text(), QStringLiteral("1 / 2 ページ"));

    // Both reports hold every point: the PDF pages the window counts, and on
    // a recording of the same run each point's number and records.
    report::ReportInputs inputs{document, state, ui, office.workspace.survey(), {}};
    inputs.calculator = &calculator;
    for (const int type : {1, 2}) {
        SCOPED_TRACE(type);
        window.session().setReportType(type);
        window.selectAllPages();
        const int pages = endPage().toInt();
        EXPECT_EQ(pages, type == 1 ? 2 : 1);
        const QString pdf = office.path(QStringLiteral("type%1.pdf").arg(type));
        ASSERT_TRUE(window.savePdf(pdf));
        EXPECT_EQ(pdfPages(pdf), pages);

        report::RecordingSurface recording;
        window.session().setPageRange(1, pages);
        window.session().run(inputs, recording);
        EXPECT_EQ(recording.devicePages(), pages);
        for (int p = 0; p < 2; ++p) {
            const int page = type == 1 ? p + 1 : 1;
            QStringList texts;
            for (const report::DrawPrimitive& d : recording.ofKind(report::PrimitiveKind::Text))
                if (d.page == page)
                    texts << d.text;
            const QString point = document.pointCell(p, PointColumn::測点No表記);
            EXPECT_TRUE(texts.contains(type == 1 ? point : QStringLiteral("測点 No. ") + point)) << point.toStdString();
            for (int r = 0; r < document.recordCount(p) && type == 1; ++r)
                EXPECT_TRUE(texts.contains(document.recordCell(p, r, RecordColumn::補正打撃回数)));
        }
    }

    // A second, longer survey loaded on the data sheet: three points of 50
    // records, two record-sheet pages each. The range follows at once.
    window.session().setReportType(1);
    db::Database& db = office.db();
    db.execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名,得意先名) VALUES (900, '長い現場', '一般');"));
    for (int p = 1; p <= 3; ++p) {
        db.execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻) "
                                  "VALUES (900, '%1', '240102', '0900', '0930');").arg(p));
        for (int r = 1; r <= 50; ++r)
            db.execute(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,"
                                      "打撃回数,トルク,推定土質,記事) VALUES (900, '%1', '240102', '0900', '0930', "
                                      "%2, 8, 2.5, 2, '');").arg(p).arg(r * 0.25));
    }
    ASSERT_EQ(sheet.openSurvey(QStringLiteral("900")), Outcome::Done);
    ASSERT_TRUE(QTest::qWaitFor([&] { return endPage() == u"6"; }, 5000)) << endPage().toStdString();
    EXPECT_TRUE(window.findChild<QRadioButton*>(QStringLiteral("opt範囲(0)"))->isChecked());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lbl_ページ"))->text(), QStringLiteral("1 / 6 ページ"));
    const QString all = office.path(QStringLiteral("long.pdf"));
    ASSERT_TRUE(window.savePdf(all));
    EXPECT_EQ(pdfPages(all), 6);
}

} // namespace
