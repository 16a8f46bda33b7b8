#include "sheet/master_editor.h"

#include "core/busy_scope.h"
#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/record_set.h"
#include "db/transaction.h"
#include "db/workspace.h"

namespace vortan::sheet {

MasterEditor::MasterEditor(const MasterDefinition& master, Services services)
    : master_(master), s_(services), grid_(static_cast<int>(master.columns.size()), 1)
{
}

EditorOutcome MasterEditor::report(const Failure& failure)
{
    const ErrorContext context{s_.ui, s_.state, s_.workspace.surveyOpen()};
    return ReportError(failure, context) == action::EndProgram ? EditorOutcome::EndProgram
                                                                : EditorOutcome::NotDone;
}

void MasterEditor::clear()
{
    grid_.clear(1);
}

EditorOutcome MasterEditor::load(bool withMessages)
{
    try {
        BusyScope busy(s_.ui);
        db::RecordSet rows = s_.workspace.survey()->openRecordSet(master_.loadQuery);
        if (rows.recordCount() == 0) {
            changed_ = false;
            if (withMessages)
                s_.ui.showMessage(QStringLiteral("データ登録されていませんでした｡"), MessageIcon::Information);
            return EditorOutcome::Done;
        }
        busy.start(QStringLiteral("データの呼び出し中..."));
        grid_.clear(0);
        for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
            const int r = grid_.rowCount();
            grid_.appendRow();
            for (int c = 0; c < static_cast<int>(master_.columns.size()); ++c) {
                const MasterColumn& column = master_.columns[static_cast<std::size_t>(c)];
                if (column.kind != MasterColumn::Kind::Button)
                    grid_.setCell(r, c, rows.field(column.field).toText());
            }
        }
        grid_.appendRow();
        changed_ = false;
        if (withMessages)
            s_.ui.showMessage(QStringLiteral("データを呼び出しました。"), MessageIcon::Information);
    } catch (const Failure& failure) {
        return report(failure);
    }
    return EditorOutcome::Done;
}

EditorOutcome MasterEditor::save()
{
    try {
        // Nothing of a failed save remains: the table keeps its rows.
        db::Database& db = *s_.workspace.survey();
        db::Transaction transaction(s_.workspace);
        BusyScope busy(s_.ui, QStringLiteral("データの保存中"));
        db.execute(master_.deleteStatement);
        for (int r = 0; r < grid_.usedRowCount(); ++r)
            db.execute(master_.insertStatement(grid_.row(r)));
        busy.finish();
        transaction.commit();
    } catch (const Failure& failure) {
        return report(failure);
    }
    changed_ = false;
    s_.state.formulaChanges->give();
    s_.ui.showMessage(QStringLiteral("データを保存しました。"), MessageIcon::Information);
    return EditorOutcome::Done;
}

void MasterEditor::addRow()
{
    grid_.appendRow();
}

void MasterEditor::deleteRows(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    grid_.removeRows(rows);
    if (grid_.rowCount() == 0)
        grid_.appendRow();
    changed_ = true;
}

} // namespace vortan::sheet
