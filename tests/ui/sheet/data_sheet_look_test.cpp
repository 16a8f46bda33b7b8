// How the data sheet looks with a survey of several points loaded: Japanese
// text drawn with the IPA fonts, headings not clipped, the grids filling the
// window as it grows. With VORTAN_SCREENSHOT_DIR set, the window is also
// written there as data_sheet.png for a person to look at.

#include "calc/calc_test_environment.h"
#include "support/sql_fixture.h"
#include "ui/sheet/data_sheet_window.h"
#include "sheet/survey_document.h"

#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>
#include <QTest>

using namespace vortan;
using namespace vortan::sheet;

namespace {

struct DataSheetLook : ::testing::Test {
    test::CalcEnvironment env;
    std::unique_ptr<SurveyDocument> doc;
    std::unique_ptr<DataSheetWindow> sheet;

    void SetUp() override
    {
        test::runSqlFixture(env.db(), QStringLiteral("data_sheet_look_survey.sql"));
        doc = std::make_unique<SurveyDocument>(
            SurveyDocument::Services{env.state, env.workspace, env.lists, env.ui, *env.calculator});
        sheet = std::make_unique<DataSheetWindow>(env.state, env.workspace, env.lists, env.ui, *doc);
        sheet->resize(sheet->sizeHint());
        sheet->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
        ASSERT_EQ(sheet->openSurvey(QStringLiteral("12")), Outcome::Done);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(DataSheetLook, JapaneseTextUsesTheIpaFonts)
{
    const QString family = QFontInfo(sheet->findChild<QTableView*>(QStringLiteral("vaSpread2"))->font()).family();
    EXPECT_TRUE(family.startsWith(QStringLiteral("IPA"))) << family.toStdString();
}

TEST_F(DataSheetLook, HeadingsAndFieldsAreNotClipped)
{
    for (const char* name : {"vaSpread1", "vaSpread2"}) {
        auto* grid = sheet->findChild<QTableView*>(QString::fromUtf8(name));
        ASSERT_NE(grid, nullptr);
        const QFontMetrics metrics(grid->horizontalHeader()->font());
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            if (grid->isColumnHidden(c))
                continue;
            const QString heading = grid->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_GE(grid->columnWidth(c), metrics.horizontalAdvance(heading) + 8) << name << " " << c;
            for (int r = 0; r < grid->model()->rowCount(); ++r) {
                const QString text = grid->model()->index(r, c).data().toString();
                EXPECT_GE(grid->columnWidth(c), QFontMetrics(grid->font()).horizontalAdvance(text) + 4)
                    << name << " " << r << "," << c << " " << text.toStdString();
            }
        }
        // The grids use the room they are given: no wide empty band at the right.
        const int used = grid->verticalHeader()->width() + grid->horizontalHeader()->length();
        EXPECT_GE(used, grid->viewport()->width() * 2 / 3) << name;
    }
    auto* site = sheet->findChild<QLineEdit*>(QStringLiteral("txt_現場名"));
    EXPECT_GE(site->width(), site->fontMetrics().horizontalAdvance(site->text()));
}

TEST_F(DataSheetLook, GridsGrowWithTheWindow)
{
    auto* records = sheet->findChild<QTableView*>(QStringLiteral("vaSpread2"));
    const QSize before = records->size();
    sheet->resize(sheet->width() + 200, sheet->height() + 200);
    QCoreApplication::processEvents();
    EXPECT_GT(records->width(), before.width());
    EXPECT_GT(records->height(), before.height());
    sheet->resize(sheet->sizeHint());
    QCoreApplication::processEvents();

    const QImage image = sheet->grab().toImage();
    EXPECT_EQ(image.size(), sheet->size() * image.devicePixelRatio());
    const QByteArray folder = qgetenv("VORTAN_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(image.save(QString::fromLocal8Bit(folder) + QStringLiteral("/data_sheet.png")));
    }
}
