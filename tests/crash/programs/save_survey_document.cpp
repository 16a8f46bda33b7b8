// Loads a survey into the survey document, edits its header, points and
// records as a user would on the data sheet, and saves it: the document's
// save as a program of its own, so that the crash tests can kill it.
//   crash_save_document DATABASE SETTINGS_FOLDER SURVEY_NO
// Exits 0 when the save is done; otherwise 1, with the messages shown on
// standard error.

#include "calc/penetration_calculator.h"
#include "core/bearing_factor_table.h"
#include "core/failure.h"
#include "core/program_state.h"
#include "db/master_lists.h"
#include "db/workspace.h"
#include "sheet/survey_document.h"
#include "support/recording_user_interface.h"

#include <QCoreApplication>
#include <cstdio>

using namespace vortan;
using namespace vortan::sheet;

namespace {

int fail(const test::RecordingUserInterface& ui, const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    for (const QString& text : ui.messageTexts())
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: crash_save_document DATABASE SETTINGS_FOLDER SURVEY_NO\n");
        return 2;
    }
    ProgramState state;
    state.settings.ini位置 = args[2];
    if (!LoadBearingFactorTable(args[2], state.bearingFactorTable)) {
        std::fprintf(stderr, "rqtbl.csv cannot be read\n");
        return 1;
    }
    test::RecordingUserInterface ui;
    try {
        db::Workspace workspace;
        workspace.openSurvey(args[1]);
        db::MasterLists lists;
        db::RefreshMasterLists(*workspace.survey(), lists);
        calc::PenetrationCalculator calculator(workspace, state);
        // A fixed clock: the added point is dated the same in every run.
        const QDateTime now(QDate(2024, 3, 4), QTime(10, 20, 30));
        SurveyDocument doc(SurveyDocument::Services{state, workspace, lists, ui, calculator, [now] { return now; }});

        doc.clear();
        doc.setHeader(HeaderField::調査地区No, args[3]);
        if (doc.load() != Outcome::Done || doc.pointCount() < 3)
            return fail(ui, "the survey cannot be loaded");

        doc.setHeader(HeaderField::現場名, QStringLiteral("髙橋邸（再調査）"), EditSource::User);
        doc.setHeader(HeaderField::調査地区記事, QStringLiteral("O'Neill 立会い"), EditSource::User);
        doc.setPointCell(0, PointColumn::記事, QStringLiteral("杭跡あり"), EditSource::User);
        doc.setPointCell(0, PointColumn::地下水位, QStringLiteral("-1.5"), EditSource::User);

        std::vector<int> dropped;
        for (int row = 0; row < doc.recordCount(1) / 2; ++row)
            dropped.push_back(row);
        doc.deleteRecordRows(1, dropped);

        for (int row = 0; row < doc.recordCount(2); row += 3)
            doc.setRecordCell(2, row, RecordColumn::打撃回数, QString::number(row % 17 + 2), EditSource::User);

        const QString soil = lists.soil.size() > 1 ? lists.soil[1] : QString();
        const int added = doc.addPoint(QStringLiteral("99"));
        for (int i = 0; i < 120; ++i) {
            const int row = doc.addRecord(added);
            doc.setRecordCell(added, row, RecordColumn::貫入長, QString::number(0.25 * (i + 1)), EditSource::User);
            doc.setRecordCell(added, row, RecordColumn::打撃回数, QString::number(i % 9 + 1), EditSource::User);
            doc.setRecordCell(added, row, RecordColumn::トルク, QStringLiteral("12.5"), EditSource::User);
            doc.setRecordCell(added, row, RecordColumn::推定土質, soil, EditSource::User);
        }

        const SaveResult saved = doc.save();
        if (saved.outcome != Outcome::Done)
            return fail(ui, "the save was not done");
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%d %s\n", failure.number(), failure.description().toUtf8().constData());
        return 1;
    }
    return 0;
}
