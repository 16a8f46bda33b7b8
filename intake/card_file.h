#pragma once
// The sounding machine's card files: one CSV line per penetration record
// after a header line, code page 932, fields split at every comma with no
// quoting rule and every double quote removed. Reading gives the card table;
// listing finds the test runs in it and renders each as one fixed-width list
// line, by which the card import later finds the run again.
//
// Both operations return new data and never touch what the caller holds, so
// a failed read leaves the screen's lists as they were. A card may hold
// millions of records: the file is read a block at a time, the table keeps
// each record in a few dozen bytes, and listing groups the rows by site and
// point once (card_index.h) instead of walking every row for every point.

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

class QByteArray;

namespace vortan::intake {

// Error numbers of the card reader's failures.
namespace carderr {
// A record with fewer than twelve fields: the reader ran out of input.
inline constexpr std::int32_t ShortRecord = 62;
// A 21st distinct site number: the table of site numbers has 20 slots.
inline constexpr std::int32_t TooManySites = 9;
} // namespace carderr

// One record of the card, as its line gives it.
struct CardRecord {
    QString date;          // YY/MM/DD
    QString time;          // HH:MM:SS
    std::int16_t site = 0; // the machine's site number (現場No)
    QString point;         // 測点No, blanks trimmed
    float depth = 0;       // 貫入深さ
    std::int16_t blows = 0;
    float torque = 0;
    std::int16_t soil = 0; // the machine's soil code
};

// One record as the card table keeps it: the date and the time as their
// eight characters (always ASCII digits and separators), the point as an
// index into the table's point numbers.
struct CardRow {
    std::array<char, 8> date{};   // YY/MM/DD
    std::array<char, 8> time{};   // HH:MM:SS
    std::int32_t point = 0;
    float depth = 0;
    float torque = 0;
    std::int16_t site = 0;
    std::int16_t blows = 0;
    std::int16_t soil = 0;

    QString dateText() const;
    QString timeText() const;
    // "YY/MM/DD HH:MM:SS", as list lines hold the start and end of a run.
    QString stamp() const;
};

// The records of a card in file order.
class CardTable {
public:
    void append(const CardRecord& record);
    // Appends a row; its point is `point`, whatever row.point holds.
    void append(CardRow row, const QString& point);
    void reserve(std::size_t rows) { rows_.reserve(rows); }

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const CardRow& operator[](std::size_t i) const { return rows_[i]; }
    std::vector<CardRow>::const_iterator begin() const { return rows_.begin(); }
    std::vector<CardRow>::const_iterator end() const { return rows_.end(); }

    // The point number of a row, as the card gives it.
    const QString& point(const CardRow& row) const { return pointNumber(row.point); }
    const QString& pointNumber(std::int32_t index) const { return points_[static_cast<std::size_t>(index)]; }
    // The index of a point number among the rows' points; -1 when no row has it.
    std::int32_t findPoint(const QString& point) const { return pointIds_.value(point, -1); }
    // Record i with its texts.
    CardRecord record(std::size_t i) const;

private:
    std::vector<CardRow> rows_;
    std::vector<QString> points_;
    QHash<QString, std::int32_t> pointIds_;
    std::int32_t lastPoint_ = 0;
};

// One uninterrupted test at a point: a stretch of records whose depth never falls.
struct CardRun {
    std::int16_t site = 0;
    QString point;
    QString start;   // "YY/MM/DD HH:MM:SS" of its first record
    QString end;     // the same of its last record
};

// The result of reading a card file.
struct CardFile {
    int lineCount = 0;   // lines of the file, header included; 0 for a missing file
    CardTable rows;      // lines 2.. in file order
};

// Reads the file at `path`. A file that does not exist reads as no lines.
// A record of fewer than twelve fields throws Failure ShortRecord; a number
// beyond the 16-bit range in a whole-number field, or beyond the single
// range in the depth or the torque, throws overflow (6); a folder, a device
// or a pipe in place of a file throws 52, a file or a line beyond the
// limits of inputfile throws 9, a file that cannot be read its read failure.
// `percent`, when given, follows the read from 0 to 100 (the card import
// screen reads it from another thread to show progress in the status bar).
CardFile ReadCardFile(const QString& path, std::atomic<int>* percent = nullptr);
// The same over the file's bytes.
CardFile ParseCardFile(const QByteArray& bytes, std::atomic<int>* percent = nullptr);

// One record line split into its fields and converted. Throws ShortRecord
// (with `lineNumber` in its description) when it has fewer than twelve
// fields, overflow (6) for a number beyond its field's range.
CardRecord ParseCardRecord(const QString& line, int lineNumber);

// The runs of the card table in list order: grouped by site (order of first
// appearance; site 0 is never listed), then by point pairs, then file order.
// A 21st distinct site number throws Failure TooManySites.
std::vector<CardRun> FindRuns(const CardTable& rows);

// The list line of a run: the marker "*" (when `marked`), site and point
// right-aligned in five characters each, the start, "～" and the end.
QString ListLine(const CardRun& run, bool marked);

// The list lines of the card table, in list order; the second and later runs
// of a point that follow each other carry the marker.
QStringList ListRuns(const CardTable& rows);

// Reads the file and lists its runs in one step (for the screen and the CLI):
// on a failure nothing is returned, so the caller keeps its old lists.
struct CardListing {
    CardFile file;
    QStringList lines;
};
CardListing ReadAndListCardFile(const QString& path, std::atomic<int>* percent = nullptr);

} // namespace vortan::intake
