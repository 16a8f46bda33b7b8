#include "xlsx/survey_workbook.h"

#include "core/atomic_file.h"
#include "core/failure.h"
#include "core/file_devices.h"
#include "core/number_text.h"
#include "core/program_files.h"
#include "core/program_state.h"
#include "report/graph_data.h"
#include "report/graph_scale.h"
#include "sheet/survey_document.h"
#include "xlsx/column_widths.h"
#include "xlsx/sheet_names.h"
#include "xlsx/workbook_writer.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <optional>
#include <cmath>

namespace vortan::xlsx {

namespace {

using sheet::HeaderField;
using sheet::PointColumn;
using sheet::RecordColumn;

// A number format of the record sheet with the cell style that carries it.
struct NumberFormat {
    QString pattern;
    int style = -1;
};

// A column of a record table: the document's column, its heading and the
// number format the record sheet prints it with (none for text columns).
struct RecordField {
    int column;
    QString heading;
    const NumberFormat* number;
};

constexpr std::uint32_t HeadingFill = 0xDDEBF7;
constexpr int RowPx = 20;   // Excel's standard row height, 15 points
constexpr int PlainText = -1;   // the workbook's standard cell style

// The numbers of one point's record cells, read once for both tables.
using RecordNumbers = std::array<std::optional<double>, RecordColumn::換算支持力 + 1>;

class SurveyWorkbook {
public:
    SurveyWorkbook(const sheet::SurveyDocument& doc, const ProgramState& state, WorkbookWriter& writer)
        : doc_(doc), state_(state), w_(writer)
    {
        heading_ = w_.style({{}, true, true, true, Align::Centre, HeadingFill});
        label_ = w_.style({{}, true, true, false, Align::Left, HeadingFill});
        textRight_ = w_.style({{}, false, false, false, Align::Right, 0});
        date_ = w_.style({QStringLiteral("yyyy/mm/dd"), false, false, false, Align::Left, 0});
        dateTime_ = w_.style({QStringLiteral("yyyy/mm/dd hh:mm"), false, false, false, Align::Left, 0});
        for (NumberFormat* f : {&general_, &metres_, &depth_, &count_, &tenths_})
            f->style = w_.style({f->pattern, false, false, false, Align::General, 0});
    }

    void build()
    {
        // The fixed names are claimed first, so that a point named like one
        // of them gives way.
        SheetNames names;
        const QString summary = names.claim(summarySheetName(), u"");
        const QString all = names.claim(allPointsSheetName(), u"");
        std::vector<QString> pointNames;
        for (int p = 0; p < doc_.pointCount(); ++p)
            pointNames.push_back(names.claim(doc_.pointNumber(p), u"測点"));

        writeSummary(w_.addSheet(summary));
        for (int p = 0; p < doc_.pointCount(); ++p)
            writePoint(w_.addSheet(pointNames[static_cast<std::size_t>(p)]), p);
        writeAllPoints(w_.addSheet(all));
    }

private:
    std::vector<RecordField> recordFields(bool withRemark) const
    {
        std::vector<RecordField> fields{
            {RecordColumn::貫入長, QStringLiteral("貫入長 D (m)"), &depth_},
            {RecordColumn::打撃回数, QStringLiteral("打撃回数 Ndm"), &count_},
            {RecordColumn::トルク,
             state_.settings.試験名単位切替 ? QStringLiteral("トルク Mv (N・m)") : QStringLiteral("トルク Mv (kN・cm)"),
             &tenths_},
            {RecordColumn::推定土質, QStringLiteral("推定土質"), nullptr},
            {RecordColumn::記事, QStringLiteral("記事"), nullptr},
            {RecordColumn::補正値, QStringLiteral("補正値 ⊿Nd"), &tenths_},
            {RecordColumn::補正打撃回数, QStringLiteral("補正打撃回数 Nd"), &tenths_},
            {RecordColumn::換算支持力, QStringLiteral("換算支持力 qa (kN/m²)"), &tenths_},
        };
        if (!withRemark)
            fields.erase(fields.begin() + 4);
        return fields;
    }

    // A cell of the document: a number cell in the column's format when the
    // column is numeric and the text a number (`parsed`), else the text as
    // it stands (right-aligned in a numeric column); no text, no cell. The
    // tables are ruled by the sheet's grid lines, printed too.
    void cell(int sheet, int row, int column, const QString& text, std::optional<double> parsed,
              const NumberFormat* number, ColumnWidths& widths)
    {
        if (text.isEmpty())
            return;
        if (number && parsed) {
            w_.number(sheet, row, column, *parsed, number->style);
            widths.fitNumber(column, *parsed, number->pattern);
        } else {
            w_.text(sheet, row, column, text, number ? textRight_ : PlainText);
            widths.fit(column, text);
        }
    }

    void value(int sheet, int row, int column, const QString& text, const NumberFormat* number, ColumnWidths& widths)
    {
        cell(sheet, row, column, text, number ? numtext::parseNumber(text) : std::nullopt, number, widths);
    }

    // A date or date and time as a date cell when it reads as one.
    void when(int sheet, int row, int column, const QString& text, const QStringList& patterns, int style,
              ColumnWidths& widths)
    {
        for (const QString& pattern : patterns) {
            const QDateTime parsed = QDateTime::fromString(text, pattern);
            if (parsed.isValid()) {
                w_.dateTime(sheet, row, column, parsed, style);
                widths.fit(column, parsed.toString(QStringLiteral("yyyy/MM/dd HH:mm")));
                return;
            }
        }
        value(sheet, row, column, text, nullptr, widths);
    }

    void headings(int sheet, int row, const QStringList& texts, ColumnWidths& widths)
    {
        for (int c = 0; c < texts.size(); ++c) {
            w_.text(sheet, row, c, texts[c], heading_);
            widths.fit(c, texts[c]);
        }
    }

    void applyWidths(int sheet, const ColumnWidths& widths, int columns)
    {
        for (int c = 0; c < columns; ++c)
            w_.columnWidth(sheet, c, widths.width(c));
    }

    void writeSummary(int sheet)
    {
        // Column widths follow the labels and the points table; the long
        // header texts run on over the empty cells at their right.
        ColumnWidths widths(7);
        ColumnWidths overflowing(2);
        const std::vector<std::pair<HeaderField, QString>> fields{
            {HeaderField::調査地区No, QStringLiteral("調査地区No")}, {HeaderField::現場名, QStringLiteral("現場名")},
            {HeaderField::住所, QStringLiteral("住所")}, {HeaderField::調査日, QStringLiteral("調査日")},
            {HeaderField::調査目的, QStringLiteral("調査目的")}, {HeaderField::提出先, QStringLiteral("提出先")},
            {HeaderField::調査責任者, QStringLiteral("調査責任者")}, {HeaderField::調査者, QStringLiteral("調査者")},
            {HeaderField::天候, QStringLiteral("天候")}, {HeaderField::標高, QStringLiteral("標高")},
            {HeaderField::調査地区記事, QStringLiteral("記事")},
        };
        int row = 0;
        for (const auto& [field, caption] : fields) {
            w_.text(sheet, row, 0, caption, label_);
            widths.fit(0, caption);
            const QString& text = doc_.header(field);
            if (field == HeaderField::調査日)
                when(sheet, row, 1, text, {QStringLiteral("yyyy/MM/dd"), QStringLiteral("yyyy/M/d")}, date_, widths);
            else if (field == HeaderField::調査地区No || field == HeaderField::標高)
                value(sheet, row, 1, text, &general_, widths);
            else
                value(sheet, row, 1, text, nullptr, overflowing);
            ++row;
        }

        ++row;
        headings(sheet, row++,
                 {QStringLiteral("測点No"), QStringLiteral("地盤高 (m)"), QStringLiteral("地下水位 (m)"),
                  QStringLiteral("記事"), QStringLiteral("開始日時"), QStringLiteral("終了日時"),
                  QStringLiteral("最終貫入長 (m)")},
                 widths);
        const QStringList dateTimes{QStringLiteral("yyyy/MM/dd_HH:mm")};
        for (int p = 0; p < doc_.pointCount(); ++p, ++row) {
            value(sheet, row, 0, doc_.pointNumber(p), nullptr, widths);
            value(sheet, row, 1, doc_.pointCell(p, PointColumn::地盤高), &metres_, widths);
            value(sheet, row, 2, doc_.pointCell(p, PointColumn::地下水位), &metres_, widths);
            value(sheet, row, 3, doc_.pointCell(p, PointColumn::記事), nullptr, widths);
            when(sheet, row, 4, doc_.pointCell(p, PointColumn::開始日時), dateTimes, dateTime_, widths);
            when(sheet, row, 5, doc_.pointCell(p, PointColumn::終了日時), dateTimes, dateTime_, widths);
            // The depth of the last record, when it is a number.
            const int n = doc_.recordCount(p);
            const QString last = n > 0 ? doc_.recordCell(p, n - 1, RecordColumn::貫入長) : QString();
            value(sheet, row, 6, numtext::isNumeric(last) ? last : QString(), &metres_, widths);
        }
        applyWidths(sheet, widths, 7);
        w_.printA4Portrait(sheet, {0, doc_.header(HeaderField::現場名), summarySheetName()});
    }

    void writePoint(int sheet, int p)
    {
        const std::vector<RecordField> fields = recordFields(true);
        const int columns = static_cast<int>(fields.size());
        const int barColumn = columns;   // the hidden bar lengths of the chart
        ColumnWidths widths(columns + 1);
        QStringList texts;
        for (const RecordField& f : fields)
            texts << f.heading;
        headings(sheet, 0, texts, widths);
        w_.text(sheet, 0, barColumn, QStringLiteral("グラフ用 Nd"), heading_);

        const int n = doc_.recordCount(p);
        std::vector<RecordNumbers>& numbers = numbers_.emplace_back(static_cast<std::size_t>(n));
        for (int r = 0; r < n; ++r) {
            RecordNumbers& read = numbers[static_cast<std::size_t>(r)];
            for (int c = 0; c < columns; ++c) {
                const RecordField& f = fields[static_cast<std::size_t>(c)];
                const QString& text = doc_.recordCell(p, r, f.column);
                if (f.number)
                    read[static_cast<std::size_t>(f.column)] = numtext::parseNumber(text);
                cell(sheet, r + 1, c, text, read[static_cast<std::size_t>(f.column)], f.number, widths);
            }
            // The length of the row's bar, as the record sheet draws it:
            // "50以上" at 50, anything "未満" at zero.
            const QString& nd = doc_.recordCell(p, r, RecordColumn::補正打撃回数);
            if (!nd.isEmpty())
                w_.number(sheet, r + 1, barColumn, report::barValue(nd), -1);
        }
        applyWidths(sheet, widths, columns);
        w_.columnWidth(sheet, barColumn, 10, true);
        w_.freezeRows(sheet, 1);
        w_.printA4Portrait(sheet, {1, doc_.header(HeaderField::現場名),
                                   QStringLiteral("測点No %1").arg(doc_.pointNumber(p))});
        if (n > 0)
            w_.barChart(sheet, chart(sheet, p, n, barColumn));
    }

    BarChart chart(int sheet, int p, int n, int valueColumn) const
    {
        BarChart c;
        // Beside the table from its heading row down, about one row of the
        // table per bar, within what a page can show.
        c.anchorRow = 0;
        c.anchorColumn = valueColumn + 1;
        c.widthPx = 320;   // five columns of the standard width
        c.heightPx = std::clamp(RowPx * (n + 1), 360, 2100);
        c.title = QStringLiteral("測点No %1  補正打撃回数 Nd").arg(doc_.pointNumber(p));
        c.categoryTitle = QStringLiteral("貫入長 D (m)");
        c.valueTitle = QStringLiteral("補正打撃回数 Nd");
        c.dataSheet = sheet;
        c.firstRow = 1;
        c.lastRow = n;
        c.categoryColumn = 0;
        c.valueColumn = valueColumn;
        c.categoryNumberFormat = QStringLiteral("0.00");
        // A depth label needs some 16 pixels of height.
        const double rowHeight = std::max(c.heightPx - 110.0, 100.0) / n;
        c.categoryLabelInterval = std::max(1, static_cast<int>(std::ceil(16.0 / rowHeight)));
        c.categoriesDownwards = true;
        const double fullScale = report::recordSheetFullScale(state_.settings, report::GraphValue::Nd);
        if (fullScale > 0) {
            c.valueMax = fullScale;
            c.valueMajorUnit = report::recordSheetTickStep(fullScale, true);
        }
        return c;
    }

    void writeAllPoints(int sheet)
    {
        const std::vector<RecordField> fields = recordFields(false);
        const int columns = static_cast<int>(fields.size()) + 1;
        ColumnWidths widths(columns);
        QStringList texts{QStringLiteral("測点No")};
        for (const RecordField& f : fields)
            texts << f.heading;
        headings(sheet, 0, texts, widths);
        int row = 1;
        for (int p = 0; p < doc_.pointCount(); ++p) {
            const std::vector<RecordNumbers>& numbers = numbers_.at(static_cast<std::size_t>(p));
            for (int r = 0; r < doc_.recordCount(p); ++r, ++row) {
                value(sheet, row, 0, doc_.pointNumber(p), nullptr, widths);
                for (std::size_t c = 0; c < fields.size(); ++c) {
                    const RecordField& f = fields[c];
                    cell(sheet, row, static_cast<int>(c) + 1, doc_.recordCell(p, r, f.column),
                         numbers[static_cast<std::size_t>(r)][static_cast<std::size_t>(f.column)], f.number, widths);
                }
            }
        }
        applyWidths(sheet, widths, columns);
        w_.freezeRows(sheet, 1);
        w_.autoFilter(sheet, 0, 0, row - 1, columns - 1);
        w_.printA4Portrait(sheet, {1, doc_.header(HeaderField::現場名), allPointsSheetName()});
    }

    const sheet::SurveyDocument& doc_;
    const ProgramState& state_;
    WorkbookWriter& w_;
    int heading_ = -1;
    int label_ = -1;
    int textRight_ = -1;
    int date_ = -1;
    int dateTime_ = -1;
    // The number formats: as they stand, the record sheet's header metres
    // and its table columns.
    NumberFormat general_{QStringLiteral("General")};
    NumberFormat metres_{QStringLiteral("0.00")};
    NumberFormat depth_{QStringLiteral("#,##0.00")};
    NumberFormat count_{QStringLiteral("#,##0")};
    NumberFormat tenths_{QStringLiteral("#,##0.0")};
    std::vector<std::vector<RecordNumbers>> numbers_;   // by point
};

} // namespace

QString summarySheetName()
{
    return QStringLiteral("調査概要");
}

QString allPointsSheetName()
{
    return QStringLiteral("全測点");
}

void WriteSurveyWorkbook(const sheet::SurveyDocument& document, const ProgramState& state, const QString& path,
                         const QString& openDatabase)
{
    CheckWriteTarget(path, ProgramFiles(state, openDatabase), QStringLiteral("Excel出力"));
    QTemporaryDir work;
    if (!work.isValid())
        throw Failure(err::PathFileAccess, work.errorString(), QDir::toNativeSeparators(QDir::tempPath()));
    const QString built = work.filePath(QStringLiteral("workbook.xlsx"));
    {
        WorkbookWriter writer(built, work.path());
        SurveyWorkbook(document, state, writer).build();
        writer.close();
    }
    // The library writes to a path: its file is read back and put in place
    // by the one step that either replaces the old file whole or keeps it.
    const std::unique_ptr<QFile> file = filedevices::readDevice(built);
    if (!file->open(QIODevice::ReadOnly))
        throw Failure(err::PathFileAccess, file->errorString(), QDir::toNativeSeparators(built));
    const QByteArray bytes = filedevices::readToEnd(*file);
    if (file->error() != QFileDevice::NoError)
        throw Failure(err::PathFileAccess, file->errorString(), QDir::toNativeSeparators(built));
    writeFileAtomically(path, bytes);
}

} // namespace vortan::xlsx
