// The conversion screen driven as the user does: its options and their
// enabling rules, the survey number box, writing and reading the exchange
// file with the progress bar, the messages, and the remembered file path.

#include "ui/intake/conversion_window.h"
#include "intake/card_test_files.h"
#include "intake/exchange_failure.h"
#include "intake/exchange_read.h"
#include "intake/exchange_test_data.h"
#include "intake/intake_test_support.h"
#include "support/screen_driver.h"
#include "support/recording_user_interface.h"

#include "core/program_state.h"
#include "db/survey_store.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::RecordingUserInterface;
using vortan::test::SurveyDatabaseCopy;

namespace {

class ConversionScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.isValid());
        file = db.path("exchange.csv");
        state.settings.csv位置 = file;
        screen = std::make_unique<ConversionWindow>(state, db.workspace, ui);
        screen->show();
        QCoreApplication::processEvents();
    }

    template <typename T>
    T* control(const QString& name) const { return test::control<T>(*screen, name); }
    QRadioButton* option(int i) const { return control<QRadioButton>(QStringLiteral("Option1(%1)").arg(i)); }
    QCheckBox* replaceBox() const { return control<QCheckBox>("chk置き換え"); }
    QCheckBox* oneSurveyBox() const { return control<QCheckBox>("chk_指定データの保存"); }
    QLineEdit* numberBox() const { return control<QLineEdit>("txt_調査地区No"); }
    QProgressBar* progress() const { return control<QProgressBar>("ProgressBar1"); }
    // Push buttons are clicked with the mouse; option buttons and check
    // boxes through their click (the mouse would have to find the indicator).
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void click(QAbstractButton* button) { button->click(); }
    void run() { click(control<QPushButton>("Command1")); }

    std::int32_t maxSurveyNo()
    {
        db::SurveyStore store(db.workspace);
        return store.maxSurveyNo();
    }

    SurveyDatabaseCopy db;
    ProgramState state;
    RecordingUserInterface ui;
    std::unique_ptr<ConversionWindow> screen;
    QString file;
};

} // namespace

TEST_F(ConversionScreen, OptionsEnableTheirControls)
{
    EXPECT_EQ(control<QLineEdit>("txt_ファイル名")->text(), file);

    auto numberEnabled = [this] {
        return numberBox()->isEnabled() && control<QLabel>("Label1")->isEnabled();
    };
    // Reading: the replace box only.
    EXPECT_TRUE(option(0)->isChecked());
    EXPECT_TRUE(replaceBox()->isEnabled());
    EXPECT_FALSE(oneSurveyBox()->isEnabled());
    EXPECT_FALSE(numberEnabled());
    // Writing: the one-survey box, and the number with it.
    click(option(2));
    EXPECT_FALSE(replaceBox()->isEnabled());
    EXPECT_TRUE(oneSurveyBox()->isEnabled());
    EXPECT_FALSE(numberEnabled());
    click(oneSurveyBox());
    EXPECT_TRUE(numberEnabled());
    click(oneSurveyBox());
    EXPECT_FALSE(numberEnabled());
    click(oneSurveyBox());
    click(option(1));
    EXPECT_TRUE(replaceBox()->isEnabled());
    EXPECT_FALSE(oneSurveyBox()->isEnabled());
    EXPECT_FALSE(numberEnabled());
    click(option(2));
    EXPECT_TRUE(numberEnabled());

    // The chooser's path goes into the file box; a cancelled choice keeps it.
    bool askedForWriting = false;
    QString chosen = db.path("other.csv");
    screen->setFileChooser([&](const QString& current, bool writing) {
        EXPECT_EQ(current, file);
        askedForWriting = writing;
        return chosen;
    });
    click(control<QPushButton>("Command3"));
    EXPECT_TRUE(askedForWriting);
    EXPECT_EQ(control<QLineEdit>("txt_ファイル名")->text(), QDir::toNativeSeparators(chosen));
    file = control<QLineEdit>("txt_ファイル名")->text();
    chosen.clear();
    click(control<QPushButton>("Command3"));
    EXPECT_EQ(control<QLineEdit>("txt_ファイル名")->text(), file);
}

TEST_F(ConversionScreen, TheNumberBoxTakesDigitsAndBackspaceOnly)
{
    click(option(2));
    click(oneSurveyBox());
    QTest::keyClicks(numberBox(), "1a2-");
    EXPECT_EQ(numberBox()->text(), "12");
    EXPECT_EQ(ui.beepCount(), 2);
    QTest::keyClick(numberBox(), Qt::Key_Backspace);
    EXPECT_EQ(numberBox()->text(), "1");
    EXPECT_EQ(ui.beepCount(), 2);
}

TEST_F(ConversionScreen, WritingOneSurveyNeedsItsNumber)
{
    click(option(2));
    click(oneSurveyBox());
    run();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, "調査地区Noの欄に数値を入れて実行して下さい｡");
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Information);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(control<QPushButton>("Command1")->isEnabled());
}

TEST_F(ConversionScreen, WritingANumberWithoutRecordsSavesNothingAndCloses)
{
    click(option(2));
    click(oneSurveyBox());
    numberBox()->setText(QString::number(maxSurveyNo() + 5));
    run();
    EXPECT_EQ(ui.messageTexts(), QStringList{"データが存在しないため保存できせんでした｡"});
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(screen->isVisible());
}

TEST_F(ConversionScreen, AFileOfAnotherKindIsRefusedAndTheScreenStays)
{
    // A card file: its first field is no survey number.
    ASSERT_TRUE(test::writeCp932(file, test::cardFileText({test::cardRecordAt(3, "1", "0.25", 3005)})));
    state.settings.csv位置 = QStringLiteral("a:\\test.csv");
    const QStringList before = test::surveyTables(db.db());
    run();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, ExchangeVersionMessage);
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Critical);
    EXPECT_EQ(test::surveyTables(db.db()), before);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(state.settings.csv位置, "a:\\test.csv");
    EXPECT_TRUE(control<QPushButton>("Command1")->isEnabled());
    EXPECT_FALSE(ui.isBusy());
}

TEST_F(ConversionScreen, CancelCloses)
{
    click(control<QPushButton>("Command2"));
    EXPECT_FALSE(screen->isVisible());
    EXPECT_TRUE(ui.messages().empty());
}
