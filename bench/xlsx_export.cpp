// Writes the Excel workbook of a survey of 10 points × 400 records through
// the export (point sheets with number formats, widths, print set-up and a
// chart each, the summary and the all-points sheet, built in a temporary
// folder and put in place whole), and, in the same run, writes the same cells
// straight through libxlsxwriter without formats, chart or set-up, the values
// taken out of the survey beforehand: the bare cost of the library. Prints
// cells per second of both, each the median of several runs, and the median
// of the runs' ratios (each run times the two writes one after the other, so
// that a machine busy with other work slows both alike).

#include "calc/penetration_calculator.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "bench/quiet_user_interface.h"
#include "db/master_lists.h"
#include "db/workspace.h"
#include "sheet/survey_document.h"
#include "xlsx/survey_workbook.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include <xlsxwriter.h>

using namespace vortan;

namespace {

constexpr int Points = 10;
constexpr int RecordsPerPoint = 400;
constexpr int Runs = 11;

void fill(sheet::SurveyDocument& doc)
{
    using namespace sheet;
    doc.setHeader(HeaderField::調査地区No, QStringLiteral("1001"));
    doc.setHeader(HeaderField::現場名, QStringLiteral("ベンチマーク造成地 第2工区"));
    doc.setHeader(HeaderField::住所, QStringLiteral("埼玉県さいたま市浦和区"));
    doc.setHeader(HeaderField::調査日, QStringLiteral("2024/05/01"));
    doc.setHeader(HeaderField::標高, QStringLiteral("25.3"));
    const QStringList soils{QStringLiteral("砂質土"), QStringLiteral("粘性土"), QStringLiteral("礫質土")};
    for (int p = 0; p < Points; ++p) {
        const int point = doc.addPoint(QStringLiteral("No%1").arg(p + 1));
        doc.setPointCell(point, PointColumn::開始日時, QStringLiteral("2024/05/01_09:30"));
        doc.setPointCell(point, PointColumn::終了日時, QStringLiteral("2024/05/01_10:15"));
        for (int r = 0; r < RecordsPerPoint; ++r) {
            const int row = doc.addRecord(point);
            const double nd = 1 + (r * 7 + p) % 53;
            doc.setRecordCell(point, row, RecordColumn::貫入長, numtext::shortestDouble((r + 1) * 0.25));
            doc.setRecordCell(point, row, RecordColumn::打撃回数, QString::number(1 + (r * 3 + p) % 17));
            doc.setRecordCell(point, row, RecordColumn::トルク, numtext::shortestDouble(5 + (r % 9) * 2.5));
            doc.setRecordCell(point, row, RecordColumn::推定土質, soils.at((r / 8) % soils.size()));
            doc.setRecordCell(point, row, RecordColumn::記事, r % 10 == 0 ? QStringLiteral("玉石混じり") : QString());
            doc.setRecordCell(point, row, RecordColumn::補正値, QStringLiteral("0.5"));
            doc.setRecordCell(point, row, RecordColumn::補正打撃回数,
                              nd > 50 ? QStringLiteral("50以上") : numtext::formatNumber(nd, u"0.0"));
            doc.setRecordCell(point, row, RecordColumn::換算支持力, numtext::formatNumber(nd * 9.8, u"0.0"));
        }
    }
}

// One cell of the bare workbook: a number or a UTF-8 text.
struct BareCell {
    int row;
    int column;
    bool isNumber;
    double number;
    std::string text;
};
struct BareSheet {
    std::string name;
    std::vector<BareCell> cells;
};

void add(BareSheet& sheet, int row, int column, const QString& text)
{
    if (text.isEmpty())
        return;
    if (const std::optional<double> v = numtext::parseNumber(text))
        sheet.cells.push_back({row, column, true, *v, {}});
    else
        sheet.cells.push_back({row, column, false, 0, text.toStdString()});
}

// The cells the export writes, taken out of the document once.
std::vector<BareSheet> bareCells(const sheet::SurveyDocument& doc)
{
    using namespace sheet;
    std::vector<BareSheet> sheets;
    BareSheet summary{"調査概要", {}};
    for (int f = 0; f < HeaderFieldCount; ++f) {
        add(summary, f, 0, QStringLiteral("見出し"));
        add(summary, f, 1, doc.header(static_cast<HeaderField>(f)));
    }
    for (int p = 0; p < doc.pointCount(); ++p) {
        add(summary, 14 + p, 0, doc.pointNumber(p));
        for (int c = PointColumn::地盤高; c <= PointColumn::終了日時; ++c)
            add(summary, 14 + p, c, doc.pointCell(p, c));
    }
    sheets.push_back(std::move(summary));
    BareSheet all{"全測点", {}};
    int allRow = 1;
    for (int p = 0; p < doc.pointCount(); ++p) {
        BareSheet point{doc.pointNumber(p).toStdString(), {}};
        for (int c = RecordColumn::貫入長; c <= RecordColumn::換算支持力; ++c) {
            add(point, 0, c - 1, recordColumnHeader(c));
            add(all, 0, c - 1, recordColumnHeader(c));
        }
        for (int r = 0; r < doc.recordCount(p); ++r, ++allRow) {
            add(all, allRow, 0, doc.pointNumber(p));
            for (int c = RecordColumn::貫入長; c <= RecordColumn::換算支持力; ++c) {
                add(point, r + 1, c - 1, doc.recordCell(p, r, c));
                if (c != RecordColumn::記事)
                    add(all, allRow, c, doc.recordCell(p, r, c));
            }
            add(point, r + 1, 8, numtext::shortestDouble(numtext::leadingNumber(doc.recordCell(p, r, 7))));
        }
        sheets.push_back(std::move(point));
    }
    sheets.push_back(std::move(all));
    return sheets;
}

std::size_t cellCount(const std::vector<BareSheet>& sheets)
{
    std::size_t n = 0;
    for (const BareSheet& s : sheets)
        n += s.cells.size();
    return n;
}

bool writeBare(const std::vector<BareSheet>& sheets, const std::string& path)
{
    lxw_workbook* workbook = workbook_new(path.c_str());
    for (const BareSheet& s : sheets) {
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, s.name.c_str());
        for (const BareCell& c : s.cells) {
            if (c.isNumber)
                worksheet_write_number(sheet, c.row, c.column, c.number, nullptr);
            else
                worksheet_write_string(sheet, c.row, c.column, c.text.c_str(), nullptr);
        }
    }
    return workbook_close(workbook) == LXW_NO_ERROR;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ProgramState state;
    db::Workspace workspace;
    db::MasterLists lists;
    QuietUserInterface ui;
    calc::PenetrationCalculator calculator(workspace, state);
    sheet::SurveyDocument doc(sheet::SurveyDocument::Services{state, workspace, lists, ui, calculator});
    fill(doc);
    const std::vector<BareSheet> sheets = bareCells(doc);
    const double cells = static_cast<double>(cellCount(sheets));

    const QString exported = dir.filePath(QStringLiteral("export.xlsx"));
    const std::string bare = dir.filePath(QStringLiteral("bare.xlsx")).toStdString();
    std::vector<double> exportSeconds;
    std::vector<double> bareSeconds;
    std::vector<double> ratios;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        try {
            xlsx::WriteSurveyWorkbook(doc, state, exported);
        } catch (const Failure& failure) {
            std::fprintf(stderr, "export failed: %d\n", failure.number());
            return 1;
        }
        exportSeconds.push_back(timer.nsecsElapsed() / 1e9);

        timer.restart();
        if (!writeBare(sheets, bare)) {
            std::fprintf(stderr, "bare write failed\n");
            return 1;
        }
        bareSeconds.push_back(timer.nsecsElapsed() / 1e9);
        ratios.push_back(bareSeconds.back() / exportSeconds.back());
    }
    const double exportRate = cells / median(exportSeconds);
    const double bareRate = cells / median(bareSeconds);
    std::printf("xlsx_export: %d points x %d records, %.0f cells, median of %d runs\n", Points, RecordsPerPoint,
                cells, Runs);
    std::printf("  survey workbook export : %10.0f cells/s (%.1f ms)\n", exportRate, median(exportSeconds) * 1e3);
    std::printf("  bare libxlsxwriter cells: %10.0f cells/s (%.1f ms)\n", bareRate, median(bareSeconds) * 1e3);
    std::printf("  ratio export/bare: %.2f (median of the runs' ratios; target at least 0.70)\n", median(ratios));
    return 0;
}
