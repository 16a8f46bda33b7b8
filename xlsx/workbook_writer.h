#pragma once
// Writes an .xlsx file through libxlsxwriter, the one file of the program
// that calls it. Sheets are numbered in the order they were added, cell
// styles by the order they were first asked for. Every text is checked
// against Excel's limits before it is handed over, and every failure of the
// library is thrown as a Failure: 7 when memory ran out, 61 when the disk is
// full, 70 when the file or folder refuses writing, 75 for any other failure
// to write the file.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QByteArray>
#include <cstdint>
#include <memory>
#include <vector>

namespace vortan::xlsx {

// Excel's longest cell text and longest page header or footer, in characters.
inline constexpr int MaxCellTextLength = 32767;
inline constexpr int MaxHeaderFooterLength = 255;

// A text as a cell holds it, in UTF-8: control characters other than tab and
// line feed dropped (an XML file cannot carry them), and cut to `limit`
// UTF-16 units without splitting a character that takes two.
QByteArray cellText(QStringView text, int limit = MaxCellTextLength);

// A text as a page header or footer shows it: "&" doubled (it starts
// Excel's header codes), cut so that the whole stays within 255 characters.
QString headerFooterText(QStringView text, int room = MaxHeaderFooterLength);

enum class Align { General, Left, Centre, Right };

struct CellStyle {
    QString numberFormat;       // Excel's number format code; empty: General
    bool bold = false;
    bool border = false;        // thin lines around the cell
    bool wrap = false;
    Align align = Align::General;
    std::uint32_t fill = 0;     // background 0xRRGGBB; 0: none

    bool operator==(const CellStyle&) const = default;
};

// A bar chart with the categories on the vertical axis (Excel's "bar" kind).
struct BarChart {
    int anchorRow = 0;          // top-left cell of the chart
    int anchorColumn = 0;
    int widthPx = 480;
    int heightPx = 288;
    QString title;
    QString categoryTitle;
    QString valueTitle;
    // Categories and values: rows firstRow..lastRow of two columns of sheet `dataSheet`.
    int dataSheet = 0;
    int firstRow = 0;
    int lastRow = 0;
    int categoryColumn = 0;
    int valueColumn = 0;
    QString categoryNumberFormat;
    int categoryLabelInterval = 1;   // every n-th category is labelled
    bool categoriesDownwards = true; // the first category at the top
    double valueMax = 0;        // fixed maximum of the value axis; 0: automatic
    double valueMajorUnit = 0;  // 0: automatic
    std::uint32_t barColour = 0x4472C4;
};

struct PrintSetup {
    int repeatRows = 0;         // rows at the top printed on every page
    QString headerLeft;         // plain texts; the page number goes in the footer
    QString headerRight;
};

class WorkbookWriter {
public:
    // A workbook that close() writes to `path`; libxlsxwriter keeps its
    // working files in `workFolder`.
    WorkbookWriter(const QString& path, const QString& workFolder);
    ~WorkbookWriter();
    WorkbookWriter(const WorkbookWriter&) = delete;
    WorkbookWriter& operator=(const WorkbookWriter&) = delete;

    // Adds a worksheet; the name must be one SheetNames handed out.
    int addSheet(const QString& name);
    // The style's index, made on first use.
    int style(const CellStyle& style);

    void number(int sheet, int row, int column, double value, int style);
    void text(int sheet, int row, int column, QStringView text, int style);
    void dateTime(int sheet, int row, int column, const QDateTime& value, int style);

    void columnWidth(int sheet, int column, double width, bool hidden = false);
    void freezeRows(int sheet, int rows);
    void autoFilter(int sheet, int firstRow, int firstColumn, int lastRow, int lastColumn);
    // A4 portrait, one page wide and as many long as needed.
    void printA4Portrait(int sheet, const PrintSetup& setup);
    void barChart(int sheet, const BarChart& chart);

    // Writes the file. Throws Failure; the writer is spent either way.
    void close();

private:
    struct Library;
    std::unique_ptr<Library> lib_;
    std::vector<CellStyle> styles_;
};

} // namespace vortan::xlsx
