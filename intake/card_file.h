#pragma once
// The sounding machine's card files: one CSV line per penetration record
// after a header line, code page 932, fields split at every comma with no
// quoting rule and every double quote removed. Reading gives the card table;
// listing finds the test runs in it and renders each as one fixed-width list
// line, by which the card import later finds the run again.
//
// Both operations return new data and never touch what the caller holds, so
// a failed read leaves the screen's lists as they were.

#include <atomic>
#include <QString>
#include <QStringList>
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

// One record of the card.
struct CardRow {
    QString date;          // YY/MM/DD
    QString time;          // HH:MM:SS
    std::int16_t site = 0; // the machine's site number (現場No)
    QString point;         // 測点No, blanks trimmed
    float depth = 0;       // 貫入深さ
    std::int16_t blows = 0;
    float torque = 0;
    std::int16_t soil = 0; // the machine's soil code
};

using CardTable = std::vector<CardRow>;

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
// beyond the 16-bit range in a whole-number field throws overflow (6); a
// file that exists but cannot be read throws the file-access numbers.
CardFile ReadCardFile(const QString& path, std::atomic<int>* percent = nullptr);
// The same over the file's bytes.
// `percent`, when given, follows the parse from 0 to 100 (the card import
// screen reads it from another thread to show progress in the status bar).
CardFile ParseCardFile(const QByteArray& bytes, std::atomic<int>* percent = nullptr);

// One record line split into its fields and converted. Throws ShortRecord
// (with `lineNumber` in its description) when it has fewer than twelve fields.
CardRow ParseCardRecord(const QString& line, int lineNumber);

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
