// How the data sheet looks with a survey of several points loaded: Japanese
// text drawn with the IPA fonts, headings not clipped, the grids filling the
// window as it grows. With VORTAN_SCREENSHOT_DIR set, the window is also
// written there as data_sheet.png for a person to look at.

#include "calc/calc_test_environment.h"
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
        env.db().execute(QStringLiteral(
            "INSERT INTO 調査地区 (調査地区No,現場名,住所,調査目的,調査責任者,調査者,調査開始時刻,調査終了時刻,"
            "調査日,天候,標高,得意先名,記事) VALUES (12, '緑ヶ丘三丁目住宅新築工事', '神奈川県横浜市青葉区緑ヶ丘三丁目', "
            "'住宅基礎の地盤調査', '山田 太郎', '佐藤 次郎', '0915', '1540', '20240412', '晴れ', '35.2', '一般', "
            "'敷地北側に旧水路あり');"));
        const char* remarks[] = {"建物北東角", "建物南東角", "建物南西角", "建物中央"};
        for (int p = 1; p <= 4; ++p) {
            env.db().execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,標高差,地下水位,"
                                            "記事,印刷,印刷測点No) VALUES (12, '%1', '240412', '%2', '%3', '%4', '%5', "
                                            "'%6', True, '');")
                                 .arg(p)
                                 .arg(900 + p * 100)
                                 .arg(930 + p * 100)
                                 .arg(p == 1 ? QStringLiteral("0") : QStringLiteral("-0.%1").arg(p * 5))
                                 .arg(p == 3 ? QStringLiteral("-2.40") : QString())
                                 .arg(QString::fromUtf8(remarks[p - 1])));
            for (int r = 1; r <= 24; ++r) {
                const int blows = 2 + (r * 7 + p * 3) % 14;
                const double torque = (r % 5) * 1.5 + p * 0.5;
                const int soil = r < 9 ? 2 : 1;
                env.db().execute(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,"
                                                "打撃回数,トルク,推定土質,記事) VALUES (12, '%1', '240412', '%2', '%3', "
                                                "%4, %5, %6, %7, '%8');")
                                     .arg(p)
                                     .arg(900 + p * 100)
                                     .arg(930 + p * 100)
                                     .arg(r * 0.25)
                                     .arg(blows)
                                     .arg(torque)
                                     .arg(soil)
                                     .arg(r == 9 ? QStringLiteral("礫混じり") : QString()));
            }
        }
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
