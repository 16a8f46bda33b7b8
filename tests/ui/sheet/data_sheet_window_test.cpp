// The data sheet window driven as a user drives it: typing into fields and
// cells, pressing toolbar buttons and keys, clicking list entries. What it
// shows is read from its controls, what it stored from the database, and
// every message from the recording user interface.

#include "support/screen_driver.h"
#include "support/database_rows.h"
#include "support/sql_fixture.h"
#include "calc/calc_test_environment.h"
#include "db/record_set.h"
#include "support/qstring_printer.h"
#include "ui/sheet/data_sheet_window.h"
#include "sheet/survey_document.h"
#include "sheet/survey_editor.h"
#include "support/reporter_texts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

using namespace vortan;
using namespace vortan::sheet;

namespace {

const QString Incomplete = QStringLiteral("入力項目が不完全です｡表示されている内容をチェックした上で保存して下さい｡");
const QString Overwrite = QStringLiteral("データを上書きしてもよろしいですか?");
const QString DeleteQuestion = QStringLiteral("現在表示されている調査地区のデータを削除しますか?");

using test::list;

struct DataSheetScreen : ::testing::Test {
    test::CalcEnvironment env;
    QDateTime clock = QDateTime(QDate(2024, 1, 2), QTime(9, 41, 7));
    std::unique_ptr<SurveyDocument> doc;
    std::unique_ptr<DataSheetWindow> sheet;

    void SetUp() override
    {
        test::runSqlFixture(env.db(), QStringLiteral("data_sheet_survey.sql"));
        doc = std::make_unique<SurveyDocument>(SurveyDocument::Services{
            env.state, env.workspace, env.lists, env.ui, *env.calculator, [this] { return clock; }});
        sheet = std::make_unique<DataSheetWindow>(env.state, env.workspace, env.lists, env.ui, *doc);
        sheet->resize(1180, 820);
        sheet->show();
        sheet->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
        env.ui.clear();
    }

    void TearDown() override
    {
        sheet.reset();
        QApplication::clipboard()->clear();
    }

    template <class T>
    T* control(const char* name) { return test::control<T>(*sheet, QString::fromUtf8(name)); }
    QTableView* points() { return control<QTableView>("vaSpread1"); }
    QTableView* records() { return control<QTableView>("vaSpread2"); }

    QToolButton* button(const char* key)
    {
        auto* toolbar = control<QToolBar>("Toolbar1");
        for (QAction* action : toolbar->actions())
            if (action->objectName() == QString::fromUtf8(key))
                return qobject_cast<QToolButton*>(toolbar->widgetForAction(action));
        ADD_FAILURE() << "no toolbar button " << key;
        return nullptr;
    }
    void press(const char* key) { QTest::mouseClick(button(key), Qt::LeftButton); }

    static void typeText(QWidget* widget, const QString& text) { test::typeText(widget, text); }
    static void typeInto(QLineEdit* field, const QString& text) { test::typeInto(field, text); }

    void loadByTyping(const QString& number)
    {
        typeInto(control<QLineEdit>("txt_調査地区No"), number);
        press("tb_Load");
    }

    void selectCell(QTableView* grid, int row, int column)
    {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(row, column));
    }

    // The editor a typed key opened in a grid.
    QLineEdit* openEditor(QTableView* grid)
    {
        for (QLineEdit* line : grid->viewport()->findChildren<QLineEdit*>())
            if (line->isVisible())
                return line;
        return nullptr;
    }

    // Types over a cell and ends the entry with `finish` (Enter by default).
    void typeCell(QTableView* grid, int row, int column, const QString& text, Qt::Key finish = Qt::Key_Return)
    {
        selectCell(grid, row, column);
        QTest::keyClick(grid, text.at(0).toLatin1());
        QLineEdit* editor = openEditor(grid);
        ASSERT_NE(editor, nullptr);
        typeText(editor, text.mid(1));
        QTest::keyClick(editor, finish);
        QCoreApplication::processEvents();
    }

    QString cell(QTableView* grid, int row, int column)
    {
        return grid->model()->index(row, column).data(Qt::EditRole).toString();
    }
    QStringList recordRow(int row)
    {
        QStringList out;
        for (int c = 0; c < 8; ++c)
            out << cell(records(), row, c);
        return out;
    }
    // The computed texts a row must show: the calculator's for its inputs.
    QStringList computed(const QString& depth, const QString& blows, const QString& torque, const QString& soil,
                         const QString& customer = QStringLiteral("一般"))
    {
        const calc::RowTexts texts = env.row(depth, blows, torque, soil, customer);
        return {texts.deltaNd, texts.nd, texts.qa};
    }
    QStringList computedOf(int row)
    {
        return computed(cell(records(), row, 0), cell(records(), row, 1), cell(records(), row, 2),
                        cell(records(), row, 3), doc->header(HeaderField::提出先));
    }
    QStringList shownComputed(int row) { return recordRow(row).mid(5, 3); }

    QStringList rows(const QString& sql) { return test::rows(env.db(), sql); }
    // The print mark as "printed" or "not printed", whichever true value the database keeps.
    QStringList storedPoints()
    {
        QStringList out = rows(QStringLiteral("SELECT 測点No,日付,開始時刻,終了時刻,標高差,地下水位,記事,印刷測点No,印刷 "
                                              "FROM 測点 WHERE 調査地区No = 5 ORDER BY 測点No;"));
        for (QString& row : out) {
            const QString mark = row.section(u'|', 8);
            const bool printed = mark != QStringLiteral("0") && mark != QStringLiteral("False") && !mark.isEmpty();
            row = row.section(u'|', 0, 7) + (printed ? QStringLiteral("|printed") : QStringLiteral("|not printed"));
        }
        return out;
    }
    QStringList storedRecords()
    {
        return rows(QStringLiteral("SELECT 測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質,記事 FROM "
                                   "測点データ WHERE 調査地区No = 5 ORDER BY 測点No, 貫入深さ;"));
    }
    QStringList storedSurvey() { return rows(QStringLiteral("SELECT * FROM 調査地区 WHERE 調査地区No = 5;")); }
};

} // namespace

TEST_F(DataSheetScreen, ExcelButtonAndMenuItemWriteTheWorkbookWhereTheUserChose)
{
    QTemporaryDir dir;
    QStringList proposed;
    QString answer = dir.filePath(QStringLiteral("chosen.xlsx"));
    sheet->setWorkbookFileChooser([&](const QString& path) {
        proposed << path;
        return answer;
    });
    // An empty sheet is told so, without a file dialog.
    press("tb_Excel");
    EXPECT_TRUE(proposed.isEmpty());
    EXPECT_EQ(env.ui.messageTexts(), QStringList{QStringLiteral("出力するデータがありません。")});
    env.ui.clear();

    loadByTyping(QStringLiteral("5"));
    EXPECT_EQ(button("tb_Excel")->text(), QStringLiteral("Excel出力..."));
    press("tb_Excel");
    ASSERT_EQ(proposed.size(), 1);
    EXPECT_EQ(QFileInfo(proposed[0]).fileName(), QStringLiteral("5_現場A.xlsx"));
    QFile written(answer);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.read(2), QByteArray("PK"));   // a zip package
    EXPECT_TRUE(env.ui.messages().empty());
    EXPECT_FALSE(env.ui.isBusy());

    // The menu item does the same; a file that cannot be made (its folder
    // is a file) gets the reporter's message, a cancelled dialog nothing.
    auto* item = control<QAction>("mnu_Excel出力");
    EXPECT_EQ(item->text(), QStringLiteral("Excel出力..."));
    answer = dir.filePath(QStringLiteral("chosen.xlsx/inner.xlsx"));
    item->trigger();
    EXPECT_EQ(env.ui.lastMessage().text, test::fileErrorText(70));
    EXPECT_FALSE(env.ui.isBusy());
    answer.clear();
    item->trigger();
    EXPECT_EQ(proposed.size(), 3);
    EXPECT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("chosen.xlsx")});
}

TEST_F(DataSheetScreen, AddressButtonWaitsForThePickerAndWritesItsAddress)
{
    auto* cmd = control<QPushButton>("cmd住所");
    EXPECT_FALSE(cmd->isEnabled());
    int asked = 0;
    sheet->setAddressPicker([&]() -> std::optional<QString> {
        ++asked;
        return asked == 1 ? std::optional<QString>(QStringLiteral("東京都千代田区丸の内")) : std::nullopt;
    });
    ASSERT_TRUE(cmd->isEnabled());
    QTest::mouseClick(cmd, Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>("txt_住所")->text(), QStringLiteral("東京都千代田区丸の内"));
    // Cancelled: the address stays.
    QTest::mouseClick(cmd, Qt::LeftButton);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(doc->header(HeaderField::住所), QStringLiteral("東京都千代田区丸の内"));
}

TEST_F(DataSheetScreen, ArrowsAndTabFinishAnEntryAndMove)
{
    loadByTyping(QStringLiteral("5"));
    typeCell(records(), 0, 1, QStringLiteral("8"), Qt::Key_Tab);
    EXPECT_EQ(cell(records(), 0, 1), QStringLiteral("8"));
    EXPECT_EQ(records()->currentIndex(), records()->model()->index(0, 2));

    typeCell(records(), 0, 0, QStringLiteral("0.3"), Qt::Key_Right);
    EXPECT_EQ(cell(records(), 0, 0), QStringLiteral("0.3"));
    EXPECT_EQ(records()->currentIndex(), records()->model()->index(0, 1));

    typeCell(records(), 1, 4, QStringLiteral("abc"), Qt::Key_Up);
    EXPECT_EQ(cell(records(), 1, 4), QStringLiteral("abc"));
    EXPECT_EQ(records()->currentIndex(), records()->model()->index(0, 4));

    // Escape abandons an entry.
    selectCell(records(), 0, 2);
    QTest::keyClick(records(), '9');
    QTest::keyClick(openEditor(records()), Qt::Key_Escape);
    EXPECT_EQ(cell(records(), 0, 2), QStringLiteral("25"));
    EXPECT_EQ(sheet->undoStack().count(), 3);
}

TEST_F(DataSheetScreen, TextFromTheInputMethodReplacesTheCell)
{
    loadByTyping(QStringLiteral("5"));
    selectCell(records(), 0, 4);
    QInputMethodEvent composed(QString(), {});
    composed.setCommitString(QStringLiteral("礫混じり"));
    QCoreApplication::sendEvent(records(), &composed);
    QLineEdit* editor = openEditor(records());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("礫混じり"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(cell(records(), 0, 4), QStringLiteral("礫混じり"));
}

TEST_F(DataSheetScreen, SoilListFollowsTheCellAndAPickRecomputes)
{
    loadByTyping(QStringLiteral("5"));
    auto* soils = control<QListWidget>("lst土質");
    selectCell(records(), 0, 3);
    ASSERT_NE(soils->currentItem(), nullptr);
    EXPECT_EQ(soils->currentItem()->text(), QStringLiteral("粘性土"));
    selectCell(records(), 1, 3);
    EXPECT_EQ(soils->currentItem()->text(), QStringLiteral("砂質土"));

    selectCell(records(), 0, 3);
    const QList<QListWidgetItem*> sand = soils->findItems(QStringLiteral("砂質土"), Qt::MatchExactly);
    ASSERT_EQ(sand.size(), 1);
    QTest::mouseClick(soils->viewport(), Qt::LeftButton, {}, soils->visualItemRect(sand.first()).center());
    EXPECT_EQ(cell(records(), 0, 3), QStringLiteral("砂質土"));
    EXPECT_EQ(shownComputed(0), computed(QStringLiteral("0.25"), QStringLiteral("3"), QStringLiteral("25"),
                                         QStringLiteral("砂質土")));
    EXPECT_TRUE(env.ui.statusTexts().contains(QStringLiteral("計算中...")));
    EXPECT_TRUE(button("tb_Save")->isEnabled());

    // The pick is one step of the history.
    sheet->undoAction()->trigger();
    EXPECT_EQ(cell(records(), 0, 3), QStringLiteral("粘性土"));
    EXPECT_EQ(shownComputed(0), list({"1.0", "2.0", "22.8"}));
}

TEST_F(DataSheetScreen, DeleteKeyRemovesTheSelectedRecordRows)
{
    loadByTyping(QStringLiteral("5"));
    selectCell(points(), 2, 0);
    records()->setFocus();
    records()->selectionModel()->select(QItemSelection(records()->model()->index(0, 0), records()->model()->index(1, 2)),
                                        QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(records(), Qt::Key_Delete);
    EXPECT_EQ(records()->model()->rowCount(), 0);
    EXPECT_EQ(doc->recordCount(2), 0);
    EXPECT_EQ(doc->recordCount(0), 2);
    sheet->undoAction()->trigger();
    ASSERT_EQ(records()->model()->rowCount(), 2);
    EXPECT_EQ(recordRow(0).mid(0, 5), list({"0.25", "5", "15", "砂質土", ""}));
    EXPECT_EQ(recordRow(1).mid(0, 5), list({"0.5", "7", "30", "砂質土", "y"}));
}

TEST_F(DataSheetScreen, InvalidFieldGetsTheFocusWithItsTextSelected)
{
    loadByTyping(QStringLiteral("5"));
    // Letters cannot be typed into the elevation, but can be pasted.
    auto* elevation = control<QLineEdit>("txt_標高");
    elevation->selectAll();
    elevation->insert(QStringLiteral("abc"));
    points()->setFocus();
    press("tb_Save");
    EXPECT_EQ(env.ui.lastMessage().text, Incomplete);
    EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Information);
    EXPECT_EQ(sheet->focusWidget(), elevation);
    EXPECT_EQ(elevation->selectedText(), QStringLiteral("abc"));

    typeInto(elevation, QStringLiteral("12.5"));
    typeInto(control<QLineEdit>("txt_調査日"), QStringLiteral("2024/13/45"));
    points()->setFocus();
    press("tb_Save");
    EXPECT_EQ(sheet->focusWidget(), control<QLineEdit>("txt_調査日"));
    EXPECT_EQ(control<QLineEdit>("txt_調査日")->selectedText(), QStringLiteral("2024/13/45"));
    EXPECT_EQ(env.ui.messageTexts(), QStringList({Incomplete, Incomplete}));
}

TEST_F(DataSheetScreen, DeleteButtonAsksAndDeletesOnlyOnYes)
{
    loadByTyping(QStringLiteral("5"));
    env.ui.queueAnswer(MessageAnswer::No);
    press("tb_Delete");
    EXPECT_EQ(env.ui.lastMessage().text, DeleteQuestion);
    EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Question);
    EXPECT_EQ(storedSurvey().size(), 1);

    env.ui.queueAnswer(MessageAnswer::Yes);
    press("tb_Delete");
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("データを削除しました。"));
    EXPECT_TRUE(storedSurvey().isEmpty());
    EXPECT_TRUE(storedPoints().isEmpty());
    EXPECT_TRUE(storedRecords().isEmpty());
    // Nothing of the deleted survey stays on the sheet.
    EXPECT_EQ(control<QLineEdit>("txt_調査地区No")->text(), QString());
    EXPECT_EQ(control<QLineEdit>("txt_現場名")->text(), QString());
    EXPECT_EQ(points()->model()->rowCount(), 0);
    EXPECT_FALSE(button("tb_Save")->isEnabled());
    EXPECT_FALSE(button("tb_Delete")->isEnabled());
}

TEST_F(DataSheetScreen, NewEmptiesTheSheetAndDisablesDelete)
{
    loadByTyping(QStringLiteral("5"));
    typeCell(records(), 0, 1, QStringLiteral("9"));
    env.ui.queueAnswer(MessageAnswer::No);
    press("tb_New");
    EXPECT_EQ(control<QLineEdit>("txt_調査地区No")->text(), QString());
    EXPECT_EQ(control<QLineEdit>("txt_現場名")->text(), QString());
    EXPECT_EQ(points()->model()->rowCount(), 0);
    EXPECT_FALSE(button("tb_Delete")->isEnabled());
    EXPECT_EQ(sheet->undoStack().count(), 0);
    // A change of a header field marks the new survey modified; it is not
    // stored yet, so there is nothing to delete.
    typeInto(control<QComboBox>("cmb_天候")->lineEdit(), QStringLiteral("雨"));
    EXPECT_FALSE(button("tb_Delete")->isEnabled());
    EXPECT_TRUE(button("tb_Save")->isEnabled());
}

TEST_F(DataSheetScreen, PastesATabSeparatedBlockAddingRowsAsOneStep)
{
    loadByTyping(QStringLiteral("5"));
    const QStringList firstRow = recordRow(0);
    QApplication::clipboard()->setText(QStringLiteral("0.75\t6\t20\r\n1\t8\t35\r\n"));
    selectCell(records(), 1, 0);
    QTest::keyClick(records(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(records()->model()->rowCount(), 3);
    EXPECT_EQ(recordRow(0), firstRow);
    EXPECT_EQ(recordRow(1).mid(0, 4), list({"0.75", "6", "20", "砂質土"}));
    EXPECT_EQ(recordRow(2).mid(0, 4), list({"1", "8", "35", ""}));
    EXPECT_EQ(shownComputed(1), computedOf(1));
    EXPECT_EQ(shownComputed(2), computedOf(2));
    EXPECT_FALSE(shownComputed(2).first().isEmpty());

    QTest::keyClick(records(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(records()->model()->rowCount(), 2);
    EXPECT_EQ(recordRow(1), list({"0.5", "10", "0", "砂質土", "", "0.0", "10.0", "93.6"}));
}

TEST_F(DataSheetScreen, SpaceTogglesThePrintBox)
{
    loadByTyping(QStringLiteral("5"));
    selectCell(points(), 1, 4);
    QTest::keyClick(points(), Qt::Key_Space);
    EXPECT_EQ(doc->pointCell(1, PointColumn::印刷), QStringLiteral("1"));
    env.ui.queueAnswer(MessageAnswer::Yes);
    press("tb_Save");
    const QStringList stored = storedPoints();
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored[1], QStringLiteral("2|051001|1010|1020||-1.2||P2|printed"));
}

TEST_F(DataSheetScreen, AModifiedSurveyIsOfferedForSavingBeforeAnythingReplacesIt)
{
    auto* number = control<QLineEdit>("txt_調査地区No");
    const std::pair<const char*, std::function<void()>> replacers[] = {
        {"呼び出し", [&] { press("tb_Load"); }},
        {"Enter", [&] { QTest::keyClick(number, Qt::Key_Return); }},
        {"新規", [&] { press("tb_New"); }},
        {"search or card", [&] { sheet->openSurvey(QStringLiteral("5")); }},
        {"close", [&] { sheet->close(); }},
    };
    for (const auto& [name, replace] : replacers) {
        env.ui.queueAnswer(MessageAnswer::No);
        sheet->show();
        sheet->openSurvey(QStringLiteral("5"));
        typeCell(records(), 0, 1, QStringLiteral("9"));
        env.ui.clear();
        env.ui.queueAnswer(MessageAnswer::Cancel);
        replace();
        EXPECT_EQ(env.ui.messageTexts(), QStringList({QStringLiteral("変更を保存しますか?")})) << name;
        EXPECT_EQ(env.ui.lastMessage().buttons, MessageButtons::YesNoCancel) << name;
        // キャンセル: everything stays as it was.
        EXPECT_EQ(cell(records(), 0, 1), QStringLiteral("9")) << name;
        EXPECT_TRUE(sheet->isVisible() && sheet->isModified()) << name;
    }

    // はい saves the survey under its own number, then opens the one typed.
    typeInto(number, QStringLiteral("6"));
    env.ui.queueAnswer(MessageAnswer::Yes);   // save the changes
    env.ui.queueAnswer(MessageAnswer::Yes);   // over survey 5
    press("tb_Load");
    EXPECT_TRUE(storedRecords().contains(QStringLiteral("1|051001|0930|1000|0.25|9|2.5|2|r1")));
    EXPECT_TRUE(rows(QStringLiteral("SELECT 調査地区No FROM 調査地区 WHERE 調査地区No = 6;")).isEmpty());
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("データ登録されていませんでした｡"));
}

TEST_F(DataSheetScreen, NumberCellsRefuseLettersAsTheyAreTyped)
{
    loadByTyping(QStringLiteral("5"));
    // Not even an entry opens for a letter.
    selectCell(records(), 0, 0);
    QTest::keyClick(records(), 'a');
    EXPECT_EQ(openEditor(records()), nullptr);
    EXPECT_EQ(env.ui.beepCount(), 1);
    // Inside an entry, too.
    selectCell(records(), 0, 2);
    QTest::keyClick(records(), '3');
    QLineEdit* editor = openEditor(records());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "x5");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(cell(records(), 0, 2), QStringLiteral("35"));
    EXPECT_EQ(env.ui.beepCount(), 2);

    // Remarks take anything; heights take a sign.
    typeCell(records(), 0, 4, QStringLiteral("abc"));
    const QString remark = cell(records(), 0, 4);
    typeCell(points(), 0, 1, QStringLiteral("-0.5"));
    EXPECT_EQ(remark + cell(points(), 0, 1), QStringLiteral("abc-0.5"));
    EXPECT_EQ(env.ui.beepCount(), 2);
}

TEST_F(DataSheetScreen, EnterInTheNumberLoadsAndTabFollowsTheScreen)
{
    sheet->setAddressPicker([] { return std::optional<QString>(); });
    auto* number = control<QLineEdit>("txt_調査地区No");
    typeInto(number, QStringLiteral("5"));
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(points()->model()->rowCount(), 3);

    // Left to right, top to bottom.
    number->setFocus();
    QStringList order;
    for (int i = 0; i < 15; ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        order << (focus->objectName().isEmpty() ? focus->parentWidget()->objectName() : focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(order, list({"txt_調査地区No", "txt_調査日", "txt_開始時刻", "txt_終了時刻", "txt_現場名", "cmb_天候",
                           "txt_住所", "cmd住所", "txt_標高", "cmb_調査目的", "cmb_調査責任者", "cmb_調査者",
                           "cmb_提出先", "cmb_調査地区記事", "vaSpread1"}));
}
