// The card import screen driven as the user does: choosing a card file,
// moving runs between the two lists with their checks and messages, and
// storing the transfer list as a new survey.

#include "ui/intake/card_drive_dialog.h"
#include "ui/intake/card_import_window.h"
#include "intake/card_test_files.h"
#include "intake/exchange_test_data.h"
#include "intake/intake_test_support.h"
#include "support/screen_driver.h"
#include "support/recording_user_interface.h"

#include "core/card_drive_file.h"
#include "app/screen_registration.h"
#include "core/program_state.h"
#include "db/survey_store.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::RecordingUserInterface;
using vortan::test::SurveyDatabaseCopy;

namespace {

const QString FixtureCard = QStringLiteral(VORTAN_FIXTURES_DIR "/intake/card_two_sites.csv");

class CardImportScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.isValid());
        state.settings.ini位置 = db.files.folder();
        state.settings.通常の提出先 = QStringLiteral("一般");
        screen = std::make_unique<CardImportWindow>(state, db.workspace, ui);
        screen->setFileChooser([this](const QString& start) {
            startFolders.append(start);
            return nextFile;
        });
        screen->setSurveyOpener([this](const QString& number) { opened.append(number); });
        screen->resize(screen->sizeHint());
        screen->show();
        QCoreApplication::processEvents();
    }

    template <typename T>
    T* control(const char* name) const { return test::control<T>(*screen, QString::fromUtf8(name)); }
    QListWidget* cardList() const { return control<QListWidget>("lst_非転送"); }
    QListWidget* transferList() const { return control<QListWidget>("lst_転送"); }
    QLineEdit* numberBox() const { return control<QLineEdit>("txt_調査地区No"); }

    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }

    // Ctrl+click on each row, as the user picks several lines.
    static void pick(QListWidget* list, std::initializer_list<int> rows)
    {
        for (int row : rows) {
            const QRect rect = list->visualItemRect(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
        }
    }

    static QStringList texts(const QListWidget* list)
    {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines.append(list->item(i)->text());
        return lines;
    }

    void readCard(const QString& path)
    {
        nextFile = path;
        click("cmdIndex");
    }

    QString writeCard(const QString& name, const QStringList& records)
    {
        const QString path = db.path(name);
        EXPECT_TRUE(test::writeCp932(path, test::cardFileText(records)));
        return path;
    }

    std::int32_t maxSurveyNo()
    {
        db::SurveyStore store(db.workspace);
        return store.maxSurveyNo();
    }

    SurveyDatabaseCopy db;
    ProgramState state;
    RecordingUserInterface ui;
    std::unique_ptr<CardImportWindow> screen;
    QString nextFile;
    QStringList startFolders;
    QStringList opened;
};

} // namespace

TEST_F(CardImportScreen, ReadingACardListsItsRunsAndRemembersItsDrive)
{
    state.cardDrive = QStringLiteral("/media/card");
    readCard(FixtureCard);
    EXPECT_EQ(startFolders, QStringList{"/media/card"});
    EXPECT_EQ(control<QLabel>("lblFilename")->text(), QDir::toNativeSeparators(FixtureCard));
    const QStringList lines = texts(cardList());
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith("    3     1 05/10/01 09:30:05")) << lines[0].toStdString();
    EXPECT_TRUE(lines[2].startsWith("*    3     2")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith("    8     1")) << lines[3].toStdString();
    EXPECT_EQ(transferList()->count(), 0);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(ui.isBusy());
    EXPECT_TRUE(ui.statusTexts().contains(CardReadingStatus));

    // The card's folder is remembered, in the program state and in
    // cfdrive.ini, and the next file dialog opens there.
    const QString folder = QDir::toNativeSeparators(QFileInfo(FixtureCard).absolutePath());
    EXPECT_EQ(state.cardDrive, folder);
    QString stored;
    ASSERT_TRUE(readCardDriveFile(state.settings.ini位置, stored));
    EXPECT_EQ(stored, folder);

    // Cancelling the next choice changes nothing.
    pick(cardList(), {0});
    click("cmd_選択");
    readCard(QString());
    EXPECT_EQ(startFolders.last(), folder);
    EXPECT_EQ(cardList()->count(), 3);
    EXPECT_EQ(transferList()->count(), 1);
}

TEST_F(CardImportScreen, AFileThatCannotBeReadKeepsTheLists)
{
    readCard(FixtureCard);
    pick(cardList(), {0});
    click("cmd_選択");
    const QString broken = writeCard("broken.csv", {"1,\"A\",3,1,0.25"});
    readCard(broken);
    EXPECT_EQ(control<QLabel>("lblFilename")->text(), QDir::toNativeSeparators(broken));
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(cardList()->count(), 3);
    EXPECT_EQ(transferList()->count(), 1);
    EXPECT_FALSE(ui.isBusy());
    EXPECT_TRUE(control<QPushButton>("cmdIndex")->isEnabled());
}

TEST_F(CardImportScreen, RunsOfOneSiteMoveBothWays)
{
    readCard(FixtureCard);
    const QStringList card = texts(cardList());
    pick(cardList(), {1, 0});
    click("cmd_選択");
    EXPECT_EQ(texts(transferList()), (QStringList{card[0], card[1]}));   // in card order
    EXPECT_EQ(texts(cardList()), (QStringList{card[2], card[3]}));
    EXPECT_TRUE(ui.messages().empty());

    // Back to the card list, at its end, without a check.
    pick(transferList(), {0});
    click("cmd_非転送");
    EXPECT_EQ(texts(transferList()), QStringList{card[1]});
    EXPECT_EQ(texts(cardList()), (QStringList{card[2], card[3], card[0]}));

    // Nothing selected: nothing moves.
    click("cmd_選択");
    EXPECT_EQ(texts(transferList()), QStringList{card[1]});
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(CardImportScreen, ASaveStoresTheRunsOpensTheSurveyAndCloses)
{
    readCard(FixtureCard);
    pick(cardList(), {0, 1});
    click("cmd_選択");
    const QString number = numberBox()->text();
    click("cmdKakutei");

    EXPECT_TRUE(ui.messages().empty());
    const QString where = " WHERE 調査地区No = " + number + ";";
    EXPECT_EQ(test::countRows(db.db(), "調査地区" + where), 1);
    EXPECT_EQ(test::countRows(db.db(), "測点" + where), 2);
    // Point 1: three records; point 2: its first run only, two records.
    EXPECT_EQ(test::countRows(db.db(), "測点データ" + where), 5);
    EXPECT_EQ(ui.statusText(), "データを保存しました。");
    EXPECT_EQ(opened, QStringList{number});
    EXPECT_EQ(ui.beepCount(), 1);
    EXPECT_FALSE(screen->isVisible());

    // Opened again, it offers the number after the one just stored.
    screen->show();
    screen->resetOnActivation();
    EXPECT_EQ(numberBox()->text(), QString::number(number.toInt() + 1));
}

TEST(IntakeScreens, AreOpenedFromTheMainWindow)
{
    const ui::ChildWindowRegistry registry = ui::ProgramChildWindows();
    ASSERT_TRUE(registry.contains("tb_ＣＦデータ受信"));
    EXPECT_EQ(registry.find("tb_ＣＦデータ受信")->presentation, ui::ChildPresentation::MdiChild);
    ASSERT_TRUE(registry.contains("mnu_データコンバート"));
    EXPECT_EQ(registry.find("mnu_データコンバート")->presentation, ui::ChildPresentation::ModalDialog);
}
