// The master editor window driven as a user drives it: what it shows after
// loading and activation, typing, the Delete key, the colour button, saving
// and closing.

#include "support/database_rows.h"
#include "calc/calc_test_environment.h"
#include "core/text_grid_model.h"
#include "db/record_set.h"
#include "ui/common/editor_grid_widget.h"
#include "ui/sheet/master_editor_window.h"

#include <QAction>
#include <QDir>
#include <QApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMouseEvent>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

using namespace vortan;
using namespace vortan::sheet;

namespace {

using test::list;

struct MasterWindow : ::testing::Test {
    test::CalcEnvironment env;
    std::unique_ptr<MasterEditorWindow> window;

    void open(const char* caption)
    {
        window = std::make_unique<MasterEditorWindow>(QString::fromUtf8(caption), env.state, env.workspace, env.ui);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QAction* button(const char* key) { return window->findChild<QAction*>(QString::fromLatin1(key)); }

    QString cell(int row, int column) { return window->model()->index(row, column).data(Qt::EditRole).toString(); }

    QStringList column(int c)
    {
        QStringList out;
        for (int r = 0; r < window->model()->rowCount(); ++r)
            out << cell(r, c);
        return out;
    }

    void typeCell(int row, int column, const QString& text)
    {
        EditorGrid* grid = window->grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(row, column));
        for (const QChar ch : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
            if (ch.unicode() < 128)
                QTest::keyClick(target, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    // Writes a picture of the window to the folder named by
    // VORTAN_SCREENSHOT_DIR (documentation pictures); checks it is drawn.
    void screenshot(const QString& name)
    {
        const QPixmap picture = window->grab();
        ASSERT_FALSE(picture.isNull());
        const QByteArray folder = qgetenv("VORTAN_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QDir().mkpath(QString::fromLocal8Bit(folder));
            EXPECT_TRUE(picture.save(QDir(QString::fromLocal8Bit(folder)).filePath(name)));
        }
    }

    QStringList rows(const QString& sql)
    {
        db::RecordSet set = env.db().openRecordSet(sql);
        QStringList out;
        for (; !set.eof(); set.moveNext())
            out << set.field(0).toText();
        return out;
    }
};

TEST_F(MasterWindow, SwitchingToAnotherChildAndBackDropsUnsavedEdits)
{
    QMdiArea area;
    area.resize(900, 600);
    auto* editor = new MasterEditorWindow(QStringLiteral("調査目的マスタの編集"), env.state, env.workspace, env.ui);
    QMdiSubWindow* frame = area.addSubWindow(editor);
    QMdiSubWindow* other = area.addSubWindow(new QWidget);
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    frame->show();
    other->show();
    area.setActiveSubWindow(frame);
    EXPECT_EQ(editor->model()->index(0, 0).data().toString(), QStringLiteral("住宅基礎の地盤調査"));

    editor->editor().grid().setCell(0, 0, QStringLiteral("変更"));
    editor->editor().markChanged();
    area.setActiveSubWindow(other);
    area.setActiveSubWindow(frame);
    EXPECT_EQ(editor->model()->index(0, 0).data().toString(), QStringLiteral("住宅基礎の地盤調査"));
    EXPECT_FALSE(editor->editor().hasUnsavedChanges());
    EXPECT_TRUE(env.ui.messages().empty());
}

TEST_F(MasterWindow, DeleteKeyRemovesWholeRowsOnly)
{
    open("天候マスタの編集");
    EditorGrid* grid = window->grid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 0));
    grid->selectionModel()->clearSelection();
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(window->model()->rowCount(), 7);
    EXPECT_FALSE(button("tb_Save")->isEnabled());

    grid->selectRow(1);
    grid->selectionModel()->select(grid->model()->index(3, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(column(0), list({"晴れ", "雨", "晴れ時々曇り", "曇り時々雨", ""}));
    EXPECT_TRUE(button("tb_Save")->isEnabled());
    button("tb_Save")->trigger();
    EXPECT_EQ(rows(QStringLiteral("SELECT 天候名 FROM mst天候;")), list({"晴れ", "雨", "晴れ時々曇り", "曇り時々雨"}));
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("データを保存しました。"));
    EXPECT_FALSE(button("tb_Save")->isEnabled());
    EXPECT_TRUE(env.state.formulaChanges->given());
}

TEST_F(MasterWindow, MovingDownPastTheLastRowAddsOne)
{
    open("姓名マスタの編集");
    EXPECT_EQ(window->model()->rowCount(), 1);
    typeCell(0, 0, QStringLiteral("山田"));
    // Enter moved on and added the next row to type in.
    EXPECT_EQ(window->model()->rowCount(), 2);
    typeCell(1, 0, QStringLiteral("O'Neill"));
    button("tb_Save")->trigger();
    EXPECT_EQ(rows(QStringLiteral("SELECT 姓名 FROM mst姓名;")), list({"山田", "O'Neill"}));
}

TEST_F(MasterWindow, SoilColoursArePaintedAndChosenWithTheButton)
{
    open("土質マスタの編集");
    EXPECT_EQ(window->model()->columnCount(), 3);
    EXPECT_EQ(window->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("色変更"));
    // 8454143 = 0x80FFFF: red 255, green 255, blue 128.
    EXPECT_EQ(window->model()->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 128));
    EXPECT_FALSE(window->model()->index(0, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(window->model()->index(5, 1).data(Qt::BackgroundRole).isValid());
    // A swatch: the colour without its number, chosen rather than typed.
    EXPECT_EQ(window->model()->index(0, 1).data(Qt::DisplayRole).toString(), QString());
    EXPECT_FALSE(window->model()->flags(window->model()->index(0, 1)) & Qt::ItemIsEditable);
    screenshot(QStringLiteral("master_editor_soil.png"));

    QColor offered;
    window->setColourChooser([&offered](const QColor& initial) -> std::optional<QColor> {
        offered = initial;
        return QColor(0x12, 0x34, 0x56);
    });
    auto* colourButton =
        qobject_cast<QPushButton*>(window->grid()->indexWidget(window->model()->index(1, 2)));
    ASSERT_NE(colourButton, nullptr);
    EXPECT_EQ(colourButton->text(), QStringLiteral("色変更"));
    colourButton->click();
    EXPECT_EQ(offered, QColor(153, 102, 51));
    // Stored as 0x00BBGGRR: 0x563412.
    EXPECT_EQ(cell(1, 1), QString::number(0x563412));
    EXPECT_EQ(window->model()->index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(0x12, 0x34, 0x56));
    EXPECT_TRUE(button("tb_Save")->isEnabled());

    // Cancelling the chooser changes nothing; a double click on the swatch
    // offers the chooser as well.
    int offers = 0;
    window->setColourChooser([&offers](const QColor&) {
        ++offers;
        return std::optional<QColor>();
    });
    const QRect swatch = window->grid()->visualRect(window->model()->index(2, 1));
    // The second click of a double click as the system delivers it: a press, then the double click.
    QWidget* viewport = window->grid()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, swatch.center());
    QTest::mousePress(viewport, Qt::LeftButton, {}, swatch.center());
    QMouseEvent twice(QEvent::MouseButtonDblClick, swatch.center(), viewport->mapToGlobal(swatch.center()),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &twice);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, swatch.center());
    EXPECT_EQ(offers, 1);
    EXPECT_EQ(cell(2, 1), QStringLiteral("3381759"));

    button("tb_Save")->trigger();
    EXPECT_EQ(rows(QStringLiteral("SELECT 表示色 FROM mst土質 ORDER BY xNo;")),
              list({"8454143", "5649426", "3381759", "2636880", "2642112"}));
}

TEST_F(MasterWindow, CancelOnTheClosingQuestionKeepsTheEdits)
{
    open("調査目的マスタの編集");
    typeCell(0, 0, QStringLiteral("新しい目的"));
    env.ui.clear();
    env.ui.queueAnswer(MessageAnswer::Cancel);
    button("tb_Exit")->trigger();
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("データは保存されていません。保存しますか？"));
    EXPECT_EQ(env.ui.lastMessage().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(env.ui.lastMessage().defaultButton, MessageAnswer::Cancel);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(cell(0, 0), QStringLiteral("新しい目的"));

    // Yes saves and closes.
    env.ui.queueAnswer(MessageAnswer::Yes);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(rows(QStringLiteral("SELECT 調査目的 FROM mst調査目的;")).first(), QStringLiteral("新しい目的"));
}

TEST_F(MasterWindow, AFailedSaveShowsTheReportAndKeepsTheWindowOpen)
{
    open("住所マスタの編集");
    typeCell(1, 0, QStringLiteral("調査現場"));
    env.ui.clear();
    env.ui.queueAnswer(MessageAnswer::Yes);
    window->close();
    EXPECT_EQ(env.ui.messageTexts(),
              list({"データは保存されていません。保存しますか？", "保存しようとしたデータに重複があります。ご確認ください。3022"}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(rows(QStringLiteral("SELECT 住所 FROM mst住所;")), list({"調査現場"}));
    EXPECT_TRUE(button("tb_Save")->isEnabled());
}

} // namespace
