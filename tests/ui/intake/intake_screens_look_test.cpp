// How the card import and conversion screens look with real content: every
// list line fits its list without cutting, and the screens draw at their
// natural size. With VORTAN_SCREENSHOT_DIR set, the pictures of both are
// saved there (documentation pictures).

#include "ui/intake/card_import_window.h"
#include "intake/card_test_files.h"
#include "ui/intake/conversion_window.h"
#include "intake/intake_test_support.h"
#include "support/recording_user_interface.h"

#include "core/program_state.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::intake;

namespace {

void saveShot(const QImage& image, const char* name)
{
    const QByteArray folder = qgetenv("VORTAN_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QString::fromUtf8(name)));
    }
}

// A morning at three sites: site 3 with a point driven twice, site 8, and
// site 12 with three points, its second one driven three times.
QStringList busyCard()
{
    using test::cardRecordAt;
    QStringList records;
    for (int i = 0; i < 4; ++i)
        records << cardRecordAt(3, "1", QString::number(0.25 * (i + 1)), 3000 + i * 100, 3 + i);
    for (int run = 0; run < 2; ++run)
        for (int i = 0; i < 3; ++i)
            records << cardRecordAt(3, "2", QString::number(0.25 * (i + 1)), 4000 + run * 1000 + i * 100, 4 + i);
    for (int i = 0; i < 3; ++i)
        records << cardRecordAt(8, "1", QString::number(0.25 * (i + 1)), 1000 + i * 100, 2 + i, 10);
    for (int point = 1; point <= 3; ++point) {
        const int runs = point == 2 ? 3 : 1;
        for (int run = 0; run < runs; ++run)
            for (int i = 0; i < 3; ++i)
                records << cardRecordAt(12, QString::number(point), QString::number(0.25 * (i + 1)),
                                        point * 1000 + run * 300 + i * 100, 5 + i, 11);
    }
    return records;
}

} // namespace

TEST(IntakeScreensLook, CardImportListsShowWholeLines)
{
    test::SurveyDatabaseCopy db;
    ASSERT_TRUE(db.isValid());
    ProgramState state;
    state.settings.ini位置 = db.files.folder();
    test::RecordingUserInterface ui;
    const QString card = db.path("CARD0001.CSV");
    ASSERT_TRUE(test::writeCp932(card, test::cardFileText(busyCard())));

    CardImportWindow screen(state, db.workspace, ui);
    screen.setFileChooser([&](const QString&) { return card; });
    screen.resize(screen.sizeHint());
    screen.show();
    QTest::mouseClick(screen.findChild<QPushButton*>("cmdIndex"), Qt::LeftButton);
    auto* cardList = screen.findChild<QListWidget*>("lst_非転送");
    auto* transferList = screen.findChild<QListWidget*>("lst_転送");
    // Site 3: 1, 2, *2; site 8: 1; site 12: 1, 2, *2, *2, 3.
    ASSERT_EQ(cardList->count(), 9);
    for (int row : {4, 5, 8})
        cardList->item(row)->setSelected(true);
    cardList->setCurrentRow(8, QItemSelectionModel::Select);
    QTest::mouseClick(screen.findChild<QPushButton*>("cmd_選択"), Qt::LeftButton);
    ASSERT_EQ(transferList->count(), 3);
    cardList->item(1)->setSelected(true);
    QCoreApplication::processEvents();

    for (const QListWidget* list : {cardList, transferList}) {
        const QFontMetrics metrics(list->font());
        for (int i = 0; i < list->count(); ++i)
            EXPECT_LE(metrics.horizontalAdvance(list->item(i)->text()), list->viewport()->width())
                << list->item(i)->text().toStdString();
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    }
    const QImage image = screen.grab().toImage();
    EXPECT_EQ(image.size(), screen.size() * image.devicePixelRatio());
    saveShot(image, "card_import.png");
}

TEST(IntakeScreensLook, ConversionPartWay)
{
    test::SurveyDatabaseCopy db;
    ASSERT_TRUE(db.isValid());
    ProgramState state;
    state.settings.csv位置 = QStringLiteral("/media/card/VORTAN/調査データ2005.csv");
    test::RecordingUserInterface ui;
    ConversionWindow screen(state, db.workspace, ui);
    screen.show();
    screen.chooseOption(2);
    screen.findChild<QCheckBox*>("chk_指定データの保存")->click();
    screen.findChild<QLineEdit*>("txt_調査地区No")->setText("12");
    auto* bar = screen.findChild<QProgressBar*>("ProgressBar1");
    bar->setRange(0, 240);
    bar->setValue(96);
    QCoreApplication::processEvents();

    auto* file = screen.findChild<QLineEdit*>("txt_ファイル名");
    EXPECT_GE(file->width(), file->fontMetrics().horizontalAdvance(file->text()));
    for (const QRadioButton* option : screen.findChildren<QRadioButton*>())
        EXPECT_GE(option->width(), option->sizeHint().width()) << option->text().toStdString();
    const QImage image = screen.grab().toImage();
    EXPECT_EQ(image.size(), screen.size() * image.devicePixelRatio());
    saveShot(image, "conversion.png");
}
