// The report options dialog driven headless: what it shows, the checks of
// its boxes, the OK rules and grpType.ini.

#include "core/graph_type_file.h"
#include "ui/report/report_options_dialog.h"
#include "report/report_fixture.h"

#include <QCheckBox>
#include <QFile>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace vortan;
using namespace vortan::report;

namespace {

struct OptionsTest : ::testing::Test {
    ProgramState state;
    test::RecordingUserInterface ui;
    QTemporaryDir folder;
    std::unique_ptr<ReportOptionsDialog> dialog;
    std::vector<int> appliedTypes;
    int refits = 0;

    void open()
    {
        state.settings.ini位置 = folder.path();
        dialog = std::make_unique<ReportOptionsDialog>(state, ui);
        dialog->setReportTypeHandler([this](int type) {
            appliedTypes.push_back(type);
            state.settings.レポートタイプ = static_cast<std::int16_t>(type);
        });
        dialog->setRefitHandler([this] { ++refits; });
    }
    template <typename T> T* child(const QString& name) { return dialog->findChild<T*>(name); }
    QLineEdit* box(const QString& name) { return child<QLineEdit>(name); }
    void leave(QLineEdit* edit)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }
    QByteArray graphTypeFile()
    {
        QFile file(folder.filePath(QStringLiteral("grpType.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(OptionsTest, OpeningShowsTheSettings)
{
    state.graphKind = 1;
    state.settings.グラフ表示 = QStringLiteral("2");
    state.settings.SI深度表記 = QStringLiteral("0");
    state.settings.グラフの色の選定基準 = QStringLiteral("0");
    state.settings.レポートタイプ = 2;
    state.settings.PRType3Type = QStringLiteral("3");
    state.settings.標高差 = true;
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("レポートタイプ選択"));
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("optGrp1(1)"))->isChecked());
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("Option5(2)"))->isChecked());
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("Option1"))->isChecked());
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("Option4(3)"))->isChecked());
    EXPECT_TRUE(child<QCheckBox>(QStringLiteral("Check_標高差(1)"))->isChecked());
    EXPECT_TRUE(child<QCheckBox>(QStringLiteral("Check_標高(0)"))->isChecked());
    EXPECT_FALSE(child<QCheckBox>(QStringLiteral("Check_記事(3)"))->isChecked());
    EXPECT_EQ(box(QStringLiteral("txt表示ポイント数"))->text(), QStringLiteral("5"));
    EXPECT_EQ(box(QStringLiteral("txt最大深度"))->text(), QStringLiteral("15"));
    EXPECT_EQ(box(QStringLiteral("Text3(1)"))->text(), QStringLiteral("200"));
    EXPECT_EQ(box(QStringLiteral("Text2(2)"))->text(), QStringLiteral("99"));
    // Colour by soil: the level inputs are off until another basis is chosen.
    EXPECT_FALSE(box(QStringLiteral("Text1(0)"))->isEnabled());
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("Command2(1)"))->isEnabled());
    child<QRadioButton>(QStringLiteral("Option3(2)"))->setChecked(true);
    EXPECT_TRUE(box(QStringLiteral("Text1(0)"))->isEnabled());
    // The selected type: framed picture, red label.
    EXPECT_EQ(dialog->selectedReportType(), 2);
    EXPECT_EQ(child<QFrame>(QStringLiteral("Picture1(2)"))->frameShape(), QFrame::Box);
    EXPECT_EQ(child<QFrame>(QStringLiteral("Picture1(0)"))->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(child<QLabel>(QStringLiteral("Label1(2)"))->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(child<QLabel>(QStringLiteral("Label1(0)"))->text(), QStringLiteral("タイプ 0"));
}

TEST_F(OptionsTest, PageKeysCycleTheTypesAndTheDepthBoxSelectsTypeTwo)
{
    open();
    EXPECT_EQ(dialog->selectedReportType(), 0);
    QTest::keyClick(dialog.get(), Qt::Key_PageUp);
    EXPECT_EQ(dialog->selectedReportType(), 1);
    QTest::keyClick(dialog.get(), Qt::Key_PageUp);
    QTest::keyClick(dialog.get(), Qt::Key_PageUp);
    EXPECT_EQ(dialog->selectedReportType(), 0);
    QTest::keyClick(dialog.get(), Qt::Key_PageDown);
    EXPECT_EQ(dialog->selectedReportType(), 2);
    QTest::mouseClick(child<QFrame>(QStringLiteral("Picture1(1)")), Qt::LeftButton);
    EXPECT_EQ(dialog->selectedReportType(), 1);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(box(QStringLiteral("txt最大深度")), &in);
    EXPECT_EQ(dialog->selectedReportType(), 2);
}

TEST_F(OptionsTest, NumberBoxesRefuseOtherKeys)
{
    open();
    QLineEdit* depth = box(QStringLiteral("txt最大深度"));
    depth->clear();
    QTest::keyClicks(depth, QStringLiteral("1a2.-5x"));
    EXPECT_EQ(depth->text(), QStringLiteral("12.5"));
    QTest::keyClick(depth, Qt::Key_Backspace);
    EXPECT_EQ(depth->text(), QStringLiteral("12."));
}

TEST_F(OptionsTest, LeavingABoxChecksItsValue)
{
    open();
    box(QStringLiteral("Text1(1)"))->setText(QStringLiteral("1e"));
    leave(box(QStringLiteral("Text1(1)")));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("ここには数字以外入力できません。"));
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Exclamation);

    box(QStringLiteral("Text1(1)"))->setText(QStringLiteral("6"));
    leave(box(QStringLiteral("Text1(1)")));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("範囲の設定が間違っています。"));

    // An upper bound starts the next level.
    ui.clear();
    box(QStringLiteral("Text2(0)"))->setText(QStringLiteral("4"));
    leave(box(QStringLiteral("Text2(0)")));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(box(QStringLiteral("Text1(1)"))->text(), QStringLiteral("4"));

    box(QStringLiteral("Text3(2)"))->clear();
    leave(box(QStringLiteral("Text3(2)")));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("qu値(棒グラフのメモリの最大値)は0を超える半角数字を入力してください。"));
    box(QStringLiteral("Text3(0)"))->setText(QStringLiteral("0"));
    leave(box(QStringLiteral("Text3(0)")));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("Nd値(棒グラフのメモリの最大値)は0を超える半角数字を入力してください。"));
    box(QStringLiteral("txt最大深度"))->setText(QStringLiteral("0"));
    leave(box(QStringLiteral("txt最大深度")));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("最大深度は0を超える半角数字を入力してください。"));
    box(QStringLiteral("txt表示ポイント数"))->clear();
    leave(box(QStringLiteral("txt表示ポイント数")));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("表示ポイント数は1以上の半角数字を入力してください。"));
}

TEST_F(OptionsTest, NdFullScaleAboveOneHundredIsRefusedAndNothingIsStored)
{
    open();
    box(QStringLiteral("Text3(0)"))->setText(QStringLiteral("100.5"));
    box(QStringLiteral("txt表示ポイント数"))->setText(QStringLiteral("7"));
    EXPECT_FALSE(dialog->acceptOptions());
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("Nd値の最大は100までを入力して下さい。"));
    EXPECT_EQ(ui.lastMessage().title, QStringLiteral("Nd値入力エラー"));
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Critical);
    EXPECT_EQ(state.settings.Nd値グラフ同時表示数, 5);
    EXPECT_TRUE(graphTypeFile().isEmpty());

    box(QStringLiteral("Text3(0)"))->setText(QStringLiteral("100"));
    EXPECT_TRUE(dialog->acceptOptions());
    EXPECT_EQ(state.settings.PRType3NMax, QStringLiteral("100"));
    EXPECT_EQ(state.settings.Nd値の最大表示値, 100.0f);
    EXPECT_EQ(state.settings.Nd値グラフ同時表示数, 7);
    EXPECT_EQ(appliedTypes, std::vector<int>{0});
    EXPECT_EQ(refits, 1);
}

TEST_F(OptionsTest, BlankMaximaOfQuAndMvDoNotBlockButZerosElsewhereAreRefilled)
{
    open();
    box(QStringLiteral("Text3(2)"))->clear();
    box(QStringLiteral("Text3(3)"))->clear();
    EXPECT_TRUE(dialog->acceptOptions());
    EXPECT_EQ(state.settings.PRType3quMax, QString());

    open();
    box(QStringLiteral("txt最大深度"))->setText(QStringLiteral("0"));
    box(QStringLiteral("Text3(3)"))->clear();
    state.settings.PRType3MvMax = QStringLiteral("150");
    EXPECT_FALSE(dialog->acceptOptions());
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("「棒グラフの目盛の最大値」、「表示ポイント数」、および、「最大貫入長」に、0または、空白は使用できません。"));
    EXPECT_EQ(box(QStringLiteral("txt最大深度"))->text(), QStringLiteral("15"));
    EXPECT_EQ(box(QStringLiteral("Text3(3)"))->text(), QStringLiteral("150"));
    // grpType.ini is written whatever happened.
    EXPECT_FALSE(graphTypeFile().isEmpty());
}

TEST_F(OptionsTest, ColourBandsMustBeContiguousUnlessColouredBySoil)
{
    open();
    child<QRadioButton>(QStringLiteral("Option3(1)"))->setChecked(true);
    box(QStringLiteral("Text1(1)"))->setText(QStringLiteral("2"));
    EXPECT_FALSE(dialog->acceptOptions());
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("グラフの色の範囲の設定値が間違っています。"));
    // The other settings were taken already; the bounds were not.
    EXPECT_EQ(state.settings.グラフの色の選定基準, QStringLiteral("1"));
    EXPECT_EQ(state.settings.Level2_0, QStringLiteral("3"));

    box(QStringLiteral("Text1(1)"))->setText(QStringLiteral("3"));
    box(QStringLiteral("Text2(2)"))->setText(QStringLiteral("80"));
    dialog->setColourPicker([](unsigned) { return std::optional<unsigned>(0x00FF00); });
    child<QPushButton>(QStringLiteral("Command2(2)"))->click();
    EXPECT_TRUE(dialog->acceptOptions());
    EXPECT_EQ(state.settings.Level3_1, QStringLiteral("80"));
    EXPECT_EQ(state.settings.Level3_Color, QStringLiteral("65280"));

    open();
    child<QRadioButton>(QStringLiteral("Option3(0)"))->setChecked(true);
    box(QStringLiteral("Text1(1)"))->setText(QStringLiteral("2"));
    EXPECT_TRUE(dialog->acceptOptions());
    EXPECT_EQ(state.settings.Level2_0, QStringLiteral("3"));
}

TEST_F(OptionsTest, OkWritesTheGraphTypeFileWithTheLastClickedGraphData)
{
    state.graphDataName = QStringLiteral("Nd");
    open();
    child<QRadioButton>(QStringLiteral("optGrp1(1)"))->setChecked(true);
    child<QCheckBox>(QStringLiteral("chk_Nd値表示"))->setChecked(false);
    child<QRadioButton>(QStringLiteral("Option5(1)"))->click();
    EXPECT_TRUE(dialog->acceptOptions());
    EXPECT_EQ(graphTypeFile(), QByteArray("1\r\n2\r\nQa\r\n"));
    EXPECT_EQ(state.graphKind, 1);
    EXPECT_EQ(state.graphDataName, QStringLiteral("Qa"));
    EXPECT_EQ(state.settings.グラフ表示, QStringLiteral("1"));
    EXPECT_FALSE(state.settings.Nd値表示);

    // Read back at start-up the file gives the same state.
    ProgramState again;
    readGraphTypeFile(folder.path(), again);
    EXPECT_EQ(again.graphKind, 1);
    EXPECT_EQ(again.graphDataName, QStringLiteral("Qa"));
    EXPECT_TRUE(again.settings.Qa値表示);

    // Without a click the graph data name stays.
    open();
    child<QRadioButton>(QStringLiteral("Option5(2)"))->setChecked(true);
    EXPECT_TRUE(dialog->acceptOptions());
    EXPECT_EQ(state.graphDataName, QStringLiteral("Qa"));
}

TEST_F(OptionsTest, CancelStoresNothing)
{
    open();
    box(QStringLiteral("txt表示ポイント数"))->setText(QStringLiteral("9"));
    child<QPushButton>(QStringLiteral("Command3"))->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(state.settings.Nd値グラフ同時表示数, 5);
    EXPECT_TRUE(graphTypeFile().isEmpty());
}

} // namespace
