#include "xlsx/workbook_writer.h"

#include "core/failure.h"

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <xlsxwriter.h>

namespace vortan::xlsx {

namespace {

// A failure of the library as the program's failure. A file the library
// could not make or finish fails for the reason the system gave.
[[noreturn]] void throwLibraryError(lxw_error error, const QString& where)
{
    std::int32_t number = err::PathFileAccess;
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        number = err::OutOfMemory;
        break;
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        if (errno == ENOSPC)
            number = err::DiskFull;
        else if (errno == EACCES || errno == EPERM || errno == EROFS)
            number = err::PermissionDenied;
        break;
    default:
        break;
    }
    throw Failure(number, QString::fromUtf8(lxw_strerror(error)), where);
}

void check(lxw_error error, const QString& where)
{
    if (error != LXW_NO_ERROR)
        throwLibraryError(error, where);
}

uint8_t alignment(Align align)
{
    switch (align) {
    case Align::Left: return LXW_ALIGN_LEFT;
    case Align::Centre: return LXW_ALIGN_CENTER;
    case Align::Right: return LXW_ALIGN_RIGHT;
    case Align::General: break;
    }
    return LXW_ALIGN_NONE;
}

// A range of one column as a chart formula: ='name'!$A$2:$A$11. The name
// is always quoted: names such as "A1" or "R2C3" read as cell references
// otherwise, and SheetNames never hands out one with an apostrophe.
QByteArray columnRange(const QString& sheetName, int firstRow, int lastRow, int column)
{
    char range[LXW_MAX_CELL_RANGE_LENGTH] = {};
    lxw_rowcol_to_range_abs(range, static_cast<lxw_row_t>(firstRow), static_cast<lxw_col_t>(column),
                            static_cast<lxw_row_t>(lastRow), static_cast<lxw_col_t>(column));
    return "='" + sheetName.toUtf8() + "'!" + QByteArray(range);
}

} // namespace

QByteArray cellText(QStringView text, int limit)
{
    const auto dropped = [](QChar c) { return c.category() == QChar::Other_Control && c != u'\t' && c != u'\n'; };
    // Most texts need neither: they are converted as they stand.
    if (text.size() <= limit && std::none_of(text.begin(), text.end(), dropped))
        return text.toUtf8();
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (!dropped(c))
            kept.append(c);
    }
    if (kept.size() > limit) {
        qsizetype cut = limit;
        if (cut > 0 && kept.at(cut - 1).isHighSurrogate())
            --cut;
        kept.truncate(cut);
    }
    return kept.toUtf8();
}

QString headerFooterText(QStringView text, int room)
{
    QString escaped;
    for (QChar c : text) {
        const QString piece = c == u'&' ? QStringLiteral("&&") : QString(c);
        if (escaped.size() + piece.size() > room)
            break;
        escaped += piece;
    }
    // A surrogate pair cut in half by the limit loses its first half too.
    if (!escaped.isEmpty() && escaped.back().isHighSurrogate())
        escaped.chop(1);
    return escaped;
}

struct WorkbookWriter::Library {
    lxw_workbook* workbook = nullptr;
    QByteArray workFolder;   // must outlive the workbook: the library keeps the pointer
    std::vector<lxw_worksheet*> sheets;
    std::vector<QString> names;
    std::vector<lxw_format*> formats;
    QString path;

    lxw_worksheet* sheet(int index) const { return sheets.at(static_cast<std::size_t>(index)); }
    lxw_format* format(int index) const { return index < 0 ? nullptr : formats.at(static_cast<std::size_t>(index)); }
};

WorkbookWriter::WorkbookWriter(const QString& path, const QString& workFolder) : lib_(std::make_unique<Library>())
{
    lib_->path = QDir::toNativeSeparators(path);
    lib_->workFolder = QDir::toNativeSeparators(workFolder).toLocal8Bit();
    lxw_workbook_options options{};
    options.tmpdir = lib_->workFolder.data();
    lib_->workbook = workbook_new_opt(path.toLocal8Bit().constData(), &options);
    if (!lib_->workbook)
        throwLibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED, lib_->path);
}

WorkbookWriter::~WorkbookWriter()
{
    // A workbook abandoned before close() leaves no file behind.
    if (lib_->workbook)
        lxw_workbook_free(lib_->workbook);
}

int WorkbookWriter::addSheet(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    check(workbook_validate_sheet_name(lib_->workbook, utf8.constData()), name);
    lxw_worksheet* sheet = workbook_add_worksheet(lib_->workbook, utf8.constData());
    if (!sheet)
        throwLibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED, name);
    lib_->sheets.push_back(sheet);
    lib_->names.push_back(name);
    return static_cast<int>(lib_->sheets.size()) - 1;
}

int WorkbookWriter::style(const CellStyle& wanted)
{
    for (std::size_t i = 0; i < styles_.size(); ++i) {
        if (styles_[i] == wanted)
            return static_cast<int>(i);
    }
    lxw_format* format = workbook_add_format(lib_->workbook);
    if (!format)
        throwLibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED, lib_->path);
    // Every cell keeps the workbook's standard font, styled or not.
    if (!wanted.numberFormat.isEmpty())
        format_set_num_format(format, cellText(wanted.numberFormat, 255).constData());
    if (wanted.bold)
        format_set_bold(format);
    if (wanted.border)
        format_set_border(format, LXW_BORDER_THIN);
    if (wanted.wrap)
        format_set_text_wrap(format);
    if (wanted.align != Align::General)
        format_set_align(format, alignment(wanted.align));
    if (wanted.fill != 0)
        format_set_bg_color(format, wanted.fill);
    styles_.push_back(wanted);
    lib_->formats.push_back(format);
    return static_cast<int>(styles_.size()) - 1;
}

void WorkbookWriter::number(int sheet, int row, int column, double value, int style)
{
    check(worksheet_write_number(lib_->sheet(sheet), static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                 value, lib_->format(style)),
          lib_->names.at(static_cast<std::size_t>(sheet)));
}

void WorkbookWriter::text(int sheet, int row, int column, QStringView value, int style)
{
    const QByteArray utf8 = cellText(value);
    check(worksheet_write_string(lib_->sheet(sheet), static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                 utf8.constData(), lib_->format(style)),
          lib_->names.at(static_cast<std::size_t>(sheet)));
}

void WorkbookWriter::dateTime(int sheet, int row, int column, const QDateTime& value, int style)
{
    const QDate d = value.date();
    const QTime t = value.time();
    lxw_datetime when{d.year(), d.month(), d.day(), t.hour(), t.minute(), static_cast<double>(t.second())};
    check(worksheet_write_datetime(lib_->sheet(sheet), static_cast<lxw_row_t>(row),
                                   static_cast<lxw_col_t>(column), &when, lib_->format(style)),
          lib_->names.at(static_cast<std::size_t>(sheet)));
}

void WorkbookWriter::columnWidth(int sheet, int column, double width, bool hidden)
{
    lxw_row_col_options options{};
    options.hidden = hidden ? 1 : 0;
    check(worksheet_set_column_opt(lib_->sheet(sheet), static_cast<lxw_col_t>(column),
                                   static_cast<lxw_col_t>(column), width, nullptr, &options),
          lib_->names.at(static_cast<std::size_t>(sheet)));
}

void WorkbookWriter::freezeRows(int sheet, int rows)
{
    worksheet_freeze_panes(lib_->sheet(sheet), static_cast<lxw_row_t>(rows), 0);
}

void WorkbookWriter::autoFilter(int sheet, int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    check(worksheet_autofilter(lib_->sheet(sheet), static_cast<lxw_row_t>(firstRow),
                               static_cast<lxw_col_t>(firstColumn), static_cast<lxw_row_t>(lastRow),
                               static_cast<lxw_col_t>(lastColumn)),
          lib_->names.at(static_cast<std::size_t>(sheet)));
}

void WorkbookWriter::printA4Portrait(int sheet, const PrintSetup& setup)
{
    lxw_worksheet* ws = lib_->sheet(sheet);
    const QString& name = lib_->names.at(static_cast<std::size_t>(sheet));
    constexpr uint8_t A4 = 9;
    worksheet_set_paper(ws, A4);
    worksheet_set_portrait(ws);
    worksheet_fit_to_pages(ws, 1, 0);
    worksheet_set_margins(ws, 0.5, 0.5, 0.75, 0.75);
    worksheet_gridlines(ws, LXW_SHOW_ALL_GRIDLINES);
    if (setup.repeatRows > 0)
        check(worksheet_repeat_rows(ws, 0, static_cast<lxw_row_t>(setup.repeatRows - 1)), name);
    // "&L" and "&R" take 2 characters each.
    const int room = (MaxHeaderFooterLength - 4) / 2;
    const QString header = QStringLiteral("&L") + headerFooterText(setup.headerLeft, room) + QStringLiteral("&R")
        + headerFooterText(setup.headerRight, room);
    check(worksheet_set_header(ws, header.toUtf8().constData()), name);
    check(worksheet_set_footer(ws, "&C&P / &N"), name);
}

void WorkbookWriter::barChart(int sheet, const BarChart& bars)
{
    const QString& name = lib_->names.at(static_cast<std::size_t>(bars.dataSheet));
    lxw_chart* chart = workbook_add_chart(lib_->workbook, LXW_CHART_BAR);
    if (!chart)
        throwLibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED, name);
    const QByteArray categories = columnRange(name, bars.firstRow, bars.lastRow, bars.categoryColumn);
    const QByteArray values = columnRange(name, bars.firstRow, bars.lastRow, bars.valueColumn);
    lxw_chart_series* series = chart_add_series(chart, categories.constData(), values.constData());
    if (!series)
        throwLibraryError(LXW_ERROR_MEMORY_MALLOC_FAILED, name);
    // Without a copy of the values inside the chart: Excel and other
    // readers draw from the cells the series names, and the file is
    // smaller and quicker to write.
    series->categories->ignore_cache = LXW_TRUE;
    series->values->ignore_cache = LXW_TRUE;
    lxw_chart_fill fill{};
    fill.color = bars.barColour;
    chart_series_set_fill(series, &fill);
    chart_set_series_gap(chart, 20);
    // The values may stand in a hidden column.
    chart_show_hidden_data(chart);
    chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);

    lxw_chart_font titleFont{};
    titleFont.size = 11;
    titleFont.bold = LXW_EXPLICIT_FALSE;
    chart_title_set_name(chart, cellText(bars.title, 255).constData());
    chart_title_set_name_font(chart, &titleFont);
    lxw_chart_font axisFont{};
    axisFont.size = 9;
    axisFont.bold = LXW_EXPLICIT_FALSE;

    // The library names a bar chart's axes as they lie: the upright one,
    // which carries the categories, is y; the value axis across is x.
    lxw_chart_axis* depth = chart->y_axis;
    chart_axis_set_name(depth, cellText(bars.categoryTitle, 255).constData());
    chart_axis_set_name_font(depth, &axisFont);
    chart_axis_set_num_font(depth, &axisFont);
    if (!bars.categoryNumberFormat.isEmpty())
        chart_axis_set_num_format(depth, cellText(bars.categoryNumberFormat, 255).constData());
    if (bars.categoryLabelInterval > 1) {
        chart_axis_set_interval_unit(depth, static_cast<uint16_t>(std::min(bars.categoryLabelInterval, 65535)));
        chart_axis_set_interval_tick(depth, static_cast<uint16_t>(std::min(bars.categoryLabelInterval, 65535)));
    }
    if (bars.categoriesDownwards)
        chart_axis_set_reverse(depth);

    lxw_chart_axis* value = chart->x_axis;
    chart_axis_set_name(value, cellText(bars.valueTitle, 255).constData());
    chart_axis_set_name_font(value, &axisFont);
    chart_axis_set_num_font(value, &axisFont);
    chart_axis_set_min(value, 0);
    if (bars.valueMax > 0)
        chart_axis_set_max(value, bars.valueMax);
    if (bars.valueMajorUnit > 0)
        chart_axis_set_major_unit(value, bars.valueMajorUnit);

    lxw_chart_options options{};
    options.x_scale = bars.widthPx / 480.0;
    options.y_scale = bars.heightPx / 288.0;
    options.object_position = LXW_OBJECT_MOVE_DONT_SIZE;
    check(worksheet_insert_chart_opt(lib_->sheet(sheet), static_cast<lxw_row_t>(bars.anchorRow),
                                     static_cast<lxw_col_t>(bars.anchorColumn), chart, &options),
          name);
}

void WorkbookWriter::close()
{
    // Whatever the outcome, the library frees the workbook.
    lxw_workbook* workbook = lib_->workbook;
    lib_->workbook = nullptr;
    errno = 0;
    check(workbook_close(workbook), lib_->path);
}

} // namespace vortan::xlsx
