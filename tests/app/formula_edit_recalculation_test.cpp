// A formula series edited in its editor while a survey stands on the data
// sheet: the next recalculation uses the new coefficients, although the
// lookups had cached the old ones for the same customer and soil.

#include "calc/calc_test_environment.h"
#include "support/sql_fixture.h"
#include "ui/calc/formula_editor_window.h"
#include "ui/sheet/data_sheet_window.h"
#include "ui/common/editor_grid_widget.h"
#include "sheet/survey_document.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace vortan;
using namespace vortan::sheet;

namespace {

struct FormulaEditThenRecalculate : ::testing::Test {
    test::CalcEnvironment env;
    std::unique_ptr<SurveyDocument> doc;

    void SetUp() override
    {
        test::runSqlFixture(env.db(), QStringLiteral("formula_edit_survey.sql"));
        doc = std::make_unique<SurveyDocument>(
            SurveyDocument::Services{env.state, env.workspace, env.lists, env.ui, *env.calculator});
    }

    void loadSurvey()
    {
        doc->clear();
        doc->setHeader(HeaderField::調査地区No, QStringLiteral("5"));
        ASSERT_EQ(doc->load(), Outcome::Done);
    }

    QString correction() { return doc->recordCell(0, 0, RecordColumn::補正値); }
    QString corrected() { return doc->recordCell(0, 0, RecordColumn::補正打撃回数); }

    // Puts B = 0.8 for clay into series 1 of the torque correction through
    // its editor window, as a user types it.
    void editCorrectionSeries()
    {
        calc::FormulaEditorWindow editor(calc::FormulaTable::RNd, env.state, env.workspace, env.ui);
        editor.show();
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        QLineEdit* code = editor.codeField();
        code->setFocus();
        QTest::keyClicks(code, QStringLiteral("1"));
        editor.findChild<QAction*>(QStringLiteral("tb_Load"))->trigger();
        EditorGrid* grid = editor.soilGrid();
        ASSERT_EQ(grid->model()->index(1, 0).data().toString(), QStringLiteral("粘性土"));
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 2));
        for (const char ch : {'0', '.', '8'})
            QTest::keyClick(QApplication::focusWidget(), ch);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        env.ui.queueAnswer(MessageAnswer::Yes);
        editor.findChild<QAction*>(QStringLiteral("tb_Save"))->trigger();
        ASSERT_EQ(env.ui.lastMessage().text, QStringLiteral("データを保存しました。"));
    }
};

TEST_F(FormulaEditThenRecalculate, TheDocumentsNextRecalculationUsesTheSavedCoefficients)
{
    loadSurvey();
    // ⊿Nd = 0.4 · 2.5 = 1, Nd = 10 − 1 = 9.
    EXPECT_EQ(correction().toDouble(), 1.0);
    EXPECT_EQ(corrected().toDouble(), 9.0);
    // The lookups now hold (一般, 粘性土) in their caches.
    doc->recalculateAll();
    EXPECT_EQ(correction().toDouble(), 1.0);

    editCorrectionSeries();
    doc->recalculateAll();
    // ⊿Nd = 0.8 · 2.5 = 2, Nd = 10 − 2 = 8.
    EXPECT_EQ(correction().toDouble(), 2.0);
    EXPECT_EQ(corrected().toDouble(), 8.0);
}

} // namespace
