// The address picker on the shipped postal database: the cascade of its four
// lists, the narrowing while typing, and the address OK hands back.

#include "core/program_state.h"
#include "db/workspace.h"
#include "ui/sheet/address_picker_dialog.h"
#include "sheet/postal_lookup.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::sheet;

namespace {

QStringList entries(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Chooses an entry of the list as a click in its drop-down does.
void choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text, Qt::MatchExactly);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->textActivated(text);
}

struct AddressPicker : ::testing::Test {
    test::ShippedFilesCopy files;
    ProgramState state;
    db::Workspace workspace;
    test::RecordingUserInterface ui;
    std::unique_ptr<AddressPickerDialog> picker;

    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        workspace.openPostal(files.postalDatabase());
        picker = std::make_unique<AddressPickerDialog>(state, workspace, ui, QStringLiteral("F_DataSheet"));
    }

    void clickOk() { picker->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); }
};

TEST_F(AddressPicker, OpensWithAllPrefecturesInCodeOrderAndFourEmptyBoxes)
{
    QStringList prefectures = entries(picker->prefectureBox());
    ASSERT_EQ(prefectures.size(), 47);
    EXPECT_EQ(prefectures.mid(0, 3), QStringList({"北海道", "青森県", "岩手県"}));
    EXPECT_EQ(prefectures.mid(12, 2), QStringList({"東京都", "神奈川県"}));
    EXPECT_EQ(prefectures.last(), "沖縄県");
    EXPECT_EQ(prefectures.removeDuplicates(), 0);
    for (QComboBox* box : {picker->prefectureBox(), picker->cityBox(), picker->townBox(), picker->areaNameBox()})
        EXPECT_EQ(box->currentText(), "") << box->objectName().toStdString();
    EXPECT_EQ(picker->cityBox()->count(), 0);
    EXPECT_EQ(picker->findChild<QPushButton*>("cmdCancel")->text(), "キャンセル");
}

TEST_F(AddressPicker, EachChoiceFillsTheNextListDownToTheBuildings)
{
    // Cities and towns in the order of their codes: the wards first, then
    // the cities; towns by postal code.
    choose(picker->prefectureBox(), "東京都");
    const QStringList cities = entries(picker->cityBox());
    EXPECT_EQ(cities.mid(0, 3), QStringList({"千代田区", "中央区", "港区"}));
    EXPECT_EQ(cities.indexOf("八王子市"), cities.indexOf("江戸川区") + 1);
    EXPECT_FALSE(cities.contains("札幌市中央区"));
    EXPECT_EQ(picker->cityBox()->currentText(), "");
    EXPECT_EQ(picker->townBox()->count(), 0);

    choose(picker->cityBox(), "港区");
    const QStringList towns = entries(picker->townBox());
    EXPECT_EQ(towns.mid(0, 3), QStringList({"虎ノ門", "愛宕", "西新橋"}));
    EXPECT_TRUE(towns.contains("六本木"));
    EXPECT_EQ(picker->areaNameBox()->count(), 0);

    choose(picker->townBox(), "六本木");
    const QStringList areas = entries(picker->areaNameBox());
    EXPECT_TRUE(areas.contains("六本木ヒルズ森タワー"));
    EXPECT_TRUE(areas.contains("泉ガーデンタワー"));
    choose(picker->areaNameBox(), "六本木ヒルズ森タワー");

    clickOk();
    EXPECT_EQ(picker->result(), QDialog::Accepted);
    ASSERT_TRUE(picker->address().has_value());
    EXPECT_EQ(*picker->address(), "東京都港区六本木六本木ヒルズ森タワー");
}

TEST_F(AddressPicker, AnotherPrefectureEmptiesTheLowerListsAndRefillsOnlyTheCities)
{
    choose(picker->prefectureBox(), "東京都");
    choose(picker->cityBox(), "港区");
    choose(picker->townBox(), "六本木");
    ASSERT_GT(picker->areaNameBox()->count(), 0);

    choose(picker->prefectureBox(), "大阪府");
    const QStringList cities = entries(picker->cityBox());
    EXPECT_TRUE(cities.contains("大阪市北区"));
    EXPECT_FALSE(cities.contains("港区"));
    EXPECT_EQ(picker->cityBox()->currentText(), "");
    EXPECT_EQ(picker->townBox()->count(), 0);
    EXPECT_EQ(picker->townBox()->currentText(), "");
    EXPECT_EQ(picker->areaNameBox()->count(), 0);
    EXPECT_EQ(picker->areaNameBox()->currentText(), "");
}

TEST_F(AddressPicker, OkWithPrefectureAndCityJoinsThemWithoutSeparator)
{
    choose(picker->prefectureBox(), "北海道");
    choose(picker->cityBox(), "札幌市中央区");
    clickOk();
    ASSERT_TRUE(picker->address().has_value());
    EXPECT_EQ(*picker->address(), "北海道札幌市中央区");
}

TEST_F(AddressPicker, OkWithNothingChosenGivesAnEmptyAddressForBothCallers)
{
    for (const char* caller : {"F_DataSheet", "F_検索"}) {
        AddressPickerDialog fresh(state, workspace, ui, QString::fromUtf8(caller));
        fresh.findChild<QPushButton*>("cmdOK")->click();
        ASSERT_TRUE(fresh.address().has_value()) << caller;
        EXPECT_EQ(*fresh.address(), "");
    }
}

TEST_F(AddressPicker, AnyOtherCallerAndCancelGetNoAddress)
{
    AddressPickerDialog card(state, workspace, ui, QStringLiteral("frmCFCard"));
    choose(card.prefectureBox(), "北海道");
    card.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_FALSE(card.address().has_value());

    AddressPickerDialog other(state, workspace, ui, QStringLiteral("F_検索"));
    choose(other.prefectureBox(), "北海道");
    other.findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_EQ(other.result(), QDialog::Rejected);
    EXPECT_FALSE(other.address().has_value());
}

TEST_F(AddressPicker, ATypedPrefectureNotInTheTableGivesNoCities)
{
    // Typed as an input method commits Japanese text: into the line edit.
    picker->prefectureBox()->lineEdit()->insert("東京");
    EXPECT_EQ(picker->prefectureBox()->currentText(), "東京");
    EXPECT_EQ(picker->cityBox()->count(), 0);

    // Typing on to a prefecture of the table fills its cities.
    picker->prefectureBox()->lineEdit()->insert("都");
    EXPECT_TRUE(entries(picker->cityBox()).contains("港区"));

    picker->prefectureBox()->setEditText("東京県");
    EXPECT_EQ(picker->cityBox()->count(), 0);
    clickOk();
    EXPECT_EQ(*picker->address(), "東京県");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(AddressPicker, TypingNarrowsAListToTheEntriesHoldingTheText)
{
    choose(picker->prefectureBox(), "東京都");
    QCompleter* completer = picker->cityBox()->completer();
    ASSERT_NE(completer, nullptr);
    completer->setCompletionPrefix("田");
    QStringList shown;
    for (int i = 0; i < completer->completionModel()->rowCount(); ++i)
        shown << completer->completionModel()->index(i, 0).data().toString();
    EXPECT_TRUE(shown.contains("千代田区"));
    EXPECT_TRUE(shown.contains("大田区"));
    EXPECT_FALSE(shown.contains("港区"));
    for (const QString& city : shown)
        EXPECT_TRUE(city.contains("田")) << city.toStdString();

    // A name picked from the narrowed list counts as chosen: the towns follow.
    emit completer->activated(QStringLiteral("千代田区"));
    EXPECT_EQ(picker->cityBox()->currentText(), "千代田区");
    EXPECT_TRUE(entries(picker->townBox()).contains("丸の内"));
}

TEST(AddressPickerWithoutPostalDatabase, ReportsTheFailureAndKeepsItsListsEmpty)
{
    ProgramState state;
    db::Workspace workspace;
    test::RecordingUserInterface ui;
    int ends = 0;
    AddressPickerDialog picker(state, workspace, ui, QStringLiteral("F_DataSheet"));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, "Vortanデータベースが利用できません。Vortanを再起動してください。91");
    EXPECT_EQ(picker.prefectureBox()->count(), 0);
    picker.setEndProgramHandler([&] { ++ends; });
    picker.prefectureBox()->setEditText("北海道");
    EXPECT_EQ(ends, 1);
}

} // namespace
