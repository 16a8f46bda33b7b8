#pragma once
// A survey document filled in code, the settings, a recording user interface
// and helpers that run a report on a recording surface, for the report tests.

#include "calc/penetration_calculator.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "db/master_lists.h"
#include "db/workspace.h"
#include "support/recording_user_interface.h"
#include "report/page_frame.h"
#include "report/printer_geometry.h"
#include "report/print_session.h"
#include "support/recording_surface.h"
#include "report/report_run.h"
#include "sheet/survey_document.h"

#include <gtest/gtest.h>
#include <cmath>
#include <memory>

namespace vortan::test {

struct RowValues {
    QString depth;
    QString blows = QStringLiteral("5");
    QString torque = QStringLiteral("10");
    QString soil = QStringLiteral("砂質土");
    QString remark;
    QString deltaNd = QStringLiteral("0.5");
    QString nd = QStringLiteral("4.5");
    QString qa = QStringLiteral("50");
};

class ReportFixture {
public:
    ReportFixture()
    {
        calculator = std::make_unique<calc::PenetrationCalculator>(workspace, state);
        doc = std::make_unique<sheet::SurveyDocument>(
            sheet::SurveyDocument::Services{state, workspace, lists, ui, *calculator});
        doc->setHeader(sheet::HeaderField::調査地区No, QStringLiteral("12"));
        doc->setHeader(sheet::HeaderField::現場名, QStringLiteral("青葉台三丁目新築工事"));
        doc->setHeader(sheet::HeaderField::住所, QStringLiteral("神奈川県横浜市青葉区"));
        doc->setHeader(sheet::HeaderField::調査目的, QStringLiteral("住宅基礎の地盤調査"));
        doc->setHeader(sheet::HeaderField::天候, QStringLiteral("晴れ"));
        doc->setHeader(sheet::HeaderField::標高, QStringLiteral("25.3"));
        state.graphDataName = QStringLiteral("Nd");
    }

    // A point with the print mark (or without); returns its index.
    int addPoint(const QString& number, bool marked = true)
    {
        const int p = doc->addPoint(number);
        doc->setPointCell(p, sheet::PointColumn::測点No表記, number);
        doc->setPointCell(p, sheet::PointColumn::印刷, marked ? QStringLiteral("1") : QStringLiteral("0"));
        doc->setPointCell(p, sheet::PointColumn::開始日時, QStringLiteral("2024/05/01_09:30"));
        doc->setPointCell(p, sheet::PointColumn::終了日時, QStringLiteral("2024/05/01_10:15"));
        return p;
    }

    int addRow(int p, const RowValues& v)
    {
        const int r = doc->addRecord(p);
        using C = sheet::RecordColumn;
        doc->setRecordCell(p, r, C::貫入長, v.depth);
        doc->setRecordCell(p, r, C::打撃回数, v.blows);
        doc->setRecordCell(p, r, C::トルク, v.torque);
        doc->setRecordCell(p, r, C::推定土質, v.soil);
        doc->setRecordCell(p, r, C::記事, v.remark);
        doc->setRecordCell(p, r, C::補正値, v.deltaNd);
        doc->setRecordCell(p, r, C::補正打撃回数, v.nd);
        doc->setRecordCell(p, r, C::換算支持力, v.qa);
        return r;
    }

    // n rows 0.25 m apart.
    void addRows(int p, int n)
    {
        for (int i = 1; i <= n; ++i) {
            RowValues v;
            v.depth = numtext::shortestDouble(i * 0.25);
            addRow(p, v);
        }
    }

    report::ReportInputs inputs() { return report::ReportInputs{*doc, state, ui, workspace.survey(), lists.addressLabel}; }

    // Runs the report of the type on A4 with the margins (15/10/15/10 by
    // default) and the range.
    void run(int type, int from = 1, int to = 32767)
    {
        session.setReportType(type);
        session.setMargins(margins);
        session.setPageRange(from, to);
        session.run(inputs(), surface);
    }

    ProgramState state;
    db::Workspace workspace;
    db::MasterLists lists;
    RecordingUserInterface ui;
    std::unique_ptr<calc::PenetrationCalculator> calculator;
    std::unique_ptr<sheet::SurveyDocument> doc;
    report::FixedPrinter printer;
    report::PrintSession session{state, printer};
    report::Margins margins;
    report::RecordingSurface surface;
};

// Report width of A4 portrait with 10 mm side margins: 11906 twips / 56.7 − 20.
inline const double A4Width = 11906 / 56.7 - 20;

inline bool near(double a, double b, double tolerance = 1e-6)
{
    return std::abs(a - b) <= tolerance;
}

} // namespace vortan::test
