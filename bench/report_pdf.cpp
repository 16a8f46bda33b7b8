// Renders a 100-page test record sheet into a PDF file through the report
// code, and, in the same run, replays the very same drawing primitives
// (captured by the recording surface) straight onto a QPdfWriter: the bare
// cost of painting those pages. Prints pages per second of both, each the
// median of several runs, and the median of the runs' ratios: a report run
// and a replay run one after the other, so that a change in the machine's
// load between runs moves both sides of a ratio alike.
//
// What the report run does beyond the replay: the layout (values formatted,
// texts measured and fitted into their cells), the event loop let run after
// every row, and the file written whole at the end and synced before it
// replaces the old one. What the replay does that the report run does not:
// it measures every centred or right-aligned text when drawing it, where the
// report run draws by the width its layout measured already.

#include "calc/penetration_calculator.h"
#include "core/font_substitutes.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "bench/quiet_user_interface.h"
#include "db/master_lists.h"
#include "db/workspace.h"
#include "report/pdf_surface.h"
#include "report/primitive_painter.h"
#include "report/print_session.h"
#include "support/recording_surface.h"
#include "sheet/survey_document.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vortan;

namespace {

constexpr int Points = 100;
constexpr int RowsPerPoint = 41;   // one full A4 page each
constexpr int Runs = 9;

void fill(sheet::SurveyDocument& doc)
{
    using namespace sheet;
    doc.setHeader(HeaderField::調査地区No, QStringLiteral("1001"));
    doc.setHeader(HeaderField::現場名, QStringLiteral("ベンチマーク造成地"));
    doc.setHeader(HeaderField::住所, QStringLiteral("埼玉県さいたま市浦和区"));
    doc.setHeader(HeaderField::調査目的, QStringLiteral("宅地の地盤調査"));
    doc.setHeader(HeaderField::天候, QStringLiteral("曇り"));
    const QStringList soils{QStringLiteral("砂質土"), QStringLiteral("粘性土"), QStringLiteral("礫質土")};
    for (int p = 0; p < Points; ++p) {
        const int point = doc.addPoint(QString::number(p + 1));
        doc.setPointCell(point, PointColumn::測点No表記, QString::number(p + 1));
        for (int r = 0; r < RowsPerPoint; ++r) {
            const int row = doc.addRecord(point);
            const double nd = 1 + (r * 7 + p) % 23;
            doc.setRecordCell(point, row, RecordColumn::貫入長, numtext::shortestDouble((r + 1) * 0.25));
            doc.setRecordCell(point, row, RecordColumn::打撃回数, QString::number(1 + (r * 3 + p) % 17));
            doc.setRecordCell(point, row, RecordColumn::トルク, numtext::shortestDouble(5 + (r % 9) * 2.5));
            doc.setRecordCell(point, row, RecordColumn::推定土質, soils.at((r / 8) % soils.size()));
            doc.setRecordCell(point, row, RecordColumn::補正値, QStringLiteral("0.5"));
            doc.setRecordCell(point, row, RecordColumn::補正打撃回数, numtext::shortestDouble(nd));
            doc.setRecordCell(point, row, RecordColumn::換算支持力, numtext::shortestDouble(nd * 9.8));
        }
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Paints the recorded primitives on a fresh PDF writer, page by page.
void replay(const std::vector<report::DrawPrimitive>& primitives, const report::PageFrame& frame,
            const QString& fileName)
{
    QPdfWriter writer(fileName);
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(210, 297), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter(&writer);
    report::DeviceMapping mapping;
    mapping.originX = frame.margins.left;
    mapping.originY = frame.margins.top;
    mapping.pixelsPerMm = 600 / 25.4;
    report::PrimitivePainter primitivePainter(painter, mapping);
    for (const report::DrawPrimitive& p : primitives) {
        if (p.kind == report::PrimitiveKind::NewPage)
            writer.newPage();
        else
            primitivePainter.draw(p);
    }
    painter.end();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    RegisterFontSubstitutes();

    QTemporaryDir dir;
    ProgramState state;
    state.graphDataName = QStringLiteral("Nd");
    state.settings.グラフの色の選定基準 = QStringLiteral("0");
    db::Workspace workspace;
    const QString database = dir.filePath(QStringLiteral("VORTAN.MDB"));
    if (QFile::copy(QStringLiteral(VORTAN_PROGRAM_DIR "/VORTAN.MDB"), database)) {
        QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
        workspace.openSurvey(database);
    }
    db::MasterLists lists;
    QuietUserInterface ui(true);
    calc::PenetrationCalculator calculator(workspace, state);
    sheet::SurveyDocument doc(sheet::SurveyDocument::Services{state, workspace, lists, ui, calculator});
    fill(doc);

    report::FixedPrinter a4;
    report::PrintSession session(state, a4);
    session.setReportType(1);
    session.setPageRange(1, 32767);
    const report::ReportInputs inputs{doc, state, ui, workspace.survey(), {}};
    const int pages = session.pageCount(doc);

    report::RecordingSurface recording;
    session.run(inputs, recording);
    const std::vector<report::DrawPrimitive> primitives = recording.primitives();
    if (recording.devicePages() != pages) {
        std::fprintf(stderr, "unexpected page count: %d recorded, %d counted\n", recording.devicePages(), pages);
        return 1;
    }

    std::vector<double> reportSeconds;
    std::vector<double> replaySeconds;
    std::vector<double> ratios;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        int written = 0;
        {
            report::PdfSurface surface(dir.filePath(QStringLiteral("report.pdf")), QSizeF(210, 297));
            session.run(inputs, surface);
            written = surface.isOpen() ? surface.devicePages() : 0;
        }
        reportSeconds.push_back(timer.nsecsElapsed() / 1e9);
        if (written != pages) {
            std::fprintf(stderr, "the report wrote %d pages of %d\n", written, pages);
            return 1;
        }

        timer.restart();
        replay(primitives, session.pageFrame(), dir.filePath(QStringLiteral("replay.pdf")));
        replaySeconds.push_back(timer.nsecsElapsed() / 1e9);
        ratios.push_back(replaySeconds.back() / reportSeconds.back());
    }
    const double reportRate = pages / median(reportSeconds);
    const double replayRate = pages / median(replaySeconds);
    std::printf("report_pdf: %d pages, %zu primitives, median of %d runs\n", pages, primitives.size(), Runs);
    std::printf("  report run to PDF : %8.1f pages/s\n", reportRate);
    std::printf("  bare replay to PDF: %8.1f pages/s\n", replayRate);
    std::printf("  ratio report/replay: %.2f (median of the runs' ratios; target at least 0.90)\n", median(ratios));
    return 0;
}
