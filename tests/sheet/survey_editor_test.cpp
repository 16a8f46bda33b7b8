// The grid edits of the data sheet as undoable steps on the survey document:
// what the document holds after each step, its undoing and its redoing.

#include "calc/calc_test_environment.h"
#include "sheet/survey_document.h"
#include "sheet/survey_editor.h"

using namespace vortan;
using namespace vortan::sheet;

namespace {

struct Editor : ::testing::Test {
    test::CalcEnvironment env;
    std::unique_ptr<SurveyDocument> doc;
    std::unique_ptr<SurveyEditor> editor;

    void SetUp() override
    {
        doc = std::make_unique<SurveyDocument>(SurveyDocument::Services{
            env.state, env.workspace, env.lists, env.ui, *env.calculator,
            [] { return QDateTime(QDate(2024, 1, 2), QTime(9, 41, 7)); }});
        editor = std::make_unique<SurveyEditor>(*doc);
        doc->clear();
    }

    QStringList pointNumbers()
    {
        QStringList out;
        for (int p = 0; p < doc->pointCount(); ++p)
            out << doc->pointNumber(p) + QLatin1Char(':') + doc->pointCell(p, PointColumn::測点No表記);
        return out;
    }
};

} // namespace

TEST_F(Editor, NewPointsAreNumberedAfterTheLargestNumber)
{
    EXPECT_EQ(editor->addPoint(), 0);
    editor->addPoint();
    editor->editPointCell(1, PointColumn::測点No表記, QStringLiteral("B"));
    editor->deletePoints({0});
    editor->addPoint();
    EXPECT_EQ(pointNumbers(), QStringList({QStringLiteral("2:B"), QStringLiteral("3:3")}));
    EXPECT_EQ(editor->undoStack().count(), 5);

    editor->undoStack().undo();   // the third point
    editor->undoStack().undo();   // the deletion
    EXPECT_EQ(pointNumbers(), QStringList({QStringLiteral("1:1"), QStringLiteral("2:B")}));
    editor->undoStack().redo();
    EXPECT_EQ(pointNumbers(), QStringList({QStringLiteral("2:B")}));
}

TEST_F(Editor, PastedPointsAppendRowsAndTextsOnlyWhereTyping)
{
    editor->addPoint();
    // Columns 1 to 7 from the first: the dates of columns 6 and 7 cannot be typed.
    CellBlock block = {{QStringLiteral("A"), QStringLiteral("0.5"), QStringLiteral("-1"), QStringLiteral("杭"),
                        QStringLiteral("0"), QStringLiteral("x"), QStringLiteral("y")},
                       {QStringLiteral("B"), QString(), QString(), QString(), QStringLiteral("1")}};
    const QString dated = doc->pointCell(0, PointColumn::開始日時);
    editor->pastePoints(0, PointColumn::測点No表記, block);
    ASSERT_EQ(doc->pointCount(), 2);
    EXPECT_EQ(doc->pointCell(0, PointColumn::測点No表記), QStringLiteral("A"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::記事), QStringLiteral("杭"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::印刷), QStringLiteral("0"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::開始日時), dated);
    EXPECT_EQ(doc->pointNumber(1), QStringLiteral("2"));
    EXPECT_EQ(doc->pointCell(1, PointColumn::測点No表記), QStringLiteral("B"));
    EXPECT_EQ(doc->pointCell(1, PointColumn::印刷), QStringLiteral("1"));

    editor->undoStack().undo();
    ASSERT_EQ(doc->pointCount(), 1);
    EXPECT_EQ(doc->pointCell(0, PointColumn::測点No表記), QStringLiteral("1"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::印刷), QStringLiteral("1"));
}

TEST_F(Editor, UndoingARecordEditRecomputesTheRow)
{
    editor->addPoint();
    editor->addRecord(0);
    editor->pasteRecords(0, 0, RecordColumn::貫入長,
                         {{QStringLiteral("0.5"), QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("砂質土")}});
    const QString nd = doc->recordCell(0, 0, RecordColumn::補正打撃回数);
    EXPECT_EQ(nd, QStringLiteral("10.0"));
    editor->editRecordCell(0, 0, RecordColumn::打撃回数, QStringLiteral("20"));
    EXPECT_EQ(doc->recordCell(0, 0, RecordColumn::補正打撃回数), QStringLiteral("20.0"));
    editor->undoStack().undo();
    EXPECT_EQ(doc->recordCell(0, 0, RecordColumn::補正打撃回数), nd);
    // Typing the same text again is no step.
    editor->editRecordCell(0, 0, RecordColumn::打撃回数, QStringLiteral("10"));
    EXPECT_EQ(editor->undoStack().index(), 3);
    // The computed columns cannot be written.
    editor->editRecordCell(0, 0, RecordColumn::補正打撃回数, QStringLiteral("99"));
    EXPECT_EQ(doc->recordCell(0, 0, RecordColumn::補正打撃回数), nd);
}

TEST_F(Editor, ClearingTheDocumentForgetsTheSteps)
{
    editor->addPoint();
    editor->addRecord(0);
    EXPECT_TRUE(editor->undoStack().canUndo());
    doc->clear();
    EXPECT_FALSE(editor->undoStack().canUndo());
    EXPECT_EQ(editor->undoStack().count(), 0);
}
