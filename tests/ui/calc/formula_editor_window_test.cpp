// The formula editor windows driven as a user drives them: typing the code
// and cells, pressing toolbar buttons and keys, closing; what they show is
// read from their controls and what they stored from the database.

#include "support/database_rows.h"
#include "calc/calc_test_environment.h"
#include "ui/calc/formula_editor_window.h"
#include "db/record_set.h"
#include "ui/common/editor_grid_widget.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

using namespace vortan;
using namespace vortan::calc;

namespace {

const QString CloseQuestion = QStringLiteral("データは保存されていません。保存しますか？");

using test::list;

struct FormulaWindow : ::testing::Test {
    test::CalcEnvironment env;
    std::unique_ptr<FormulaEditorWindow> window;

    void open(FormulaTable table)
    {
        window = std::make_unique<FormulaEditorWindow>(table, env.state, env.workspace, env.ui);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QAction* button(const char* key) { return window->findChild<QAction*>(QString::fromLatin1(key)); }

    void press(const char* key) { button(key)->trigger(); }

    void typeCode(const QString& code)
    {
        QLineEdit* field = window->findChild<QLineEdit*>(QStringLiteral("txt_計算式コード"));
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, code);
    }

    // Types into a cell as a user does: select it, type, Enter. Characters
    // beyond ASCII are sent as key events carrying their text.
    void typeCell(sheet::EditorGrid* grid, int row, int column, const QString& text)
    {
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

    QStringList rows(const QString& sql) { return test::rows(env.db(), sql); }

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
};

TEST_F(FormulaWindow, ClosingWithUnsavedChangesAsksAndCancelKeepsTheEdits)
{
    open(FormulaTable::Nd);
    typeCode(QStringLiteral("1"));
    press("tb_Load");
    typeCell(window->soilGrid(), 0, 1, QStringLiteral("9"));
    env.ui.clear();
    env.ui.queueAnswer(MessageAnswer::Cancel);
    press("tb_Exit");
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().text, CloseQuestion);
    EXPECT_EQ(env.ui.lastMessage().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Question);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->soilGrid()->model()->index(0, 1).data().toString(), QStringLiteral("9"));

    // No closes without saving.
    env.ui.queueAnswer(MessageAnswer::No);
    press("tb_Exit");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(rows(QStringLiteral("SELECT A FROM mstNd値計算式 WHERE 計算式コード = 1 AND 土質名 = '砂質土';")),
              list({"0"}));
}

TEST_F(FormulaWindow, ClosingAndAnsweringYesSaves)
{
    open(FormulaTable::Nd);
    typeCode(QStringLiteral("6"));
    typeCell(window->soilGrid(), 0, 0, QStringLiteral("粘性土"));
    typeCell(window->soilGrid(), 0, 1, QStringLiteral("2"));
    EXPECT_TRUE(button("tb_Save")->isEnabled());
    env.ui.queueAnswer(MessageAnswer::Yes);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(env.state.formulaChanges->given());
    EXPECT_EQ(rows(QStringLiteral("SELECT 土質名, A FROM mstNd値計算式 WHERE 計算式コード = 6;")), list({"粘性土|2"}));
}

} // namespace
