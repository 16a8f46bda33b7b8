#pragma once
// Work for the crash tests, big enough that writing it takes many
// file-system calls: surveys of thousands of records as an exchange file, a
// card file of long runs, and the command lines of the programs that do the
// work on the files of one folder.

#include "kill_point_harness.h"
#include "support/test_databases.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vortan::test {

struct SurveySize {
    int first = 1;       // number of the first survey
    int surveys = 1;
    int points = 1;      // per survey
    int records = 1;     // per point
};

// The exchange file (code page 932) of the surveys: one line per record.
QByteArray largeExchangeFile(const SurveySize& size);

// Stores the surveys of largeExchangeFile(size) under their numbers in the
// survey database at `path`; false when that fails.
bool storeLargeSurveys(const QString& path, const SurveySize& size);

// A card file (code page 932) of site `site` with one run of `records`
// records at each of `points` points, in time order.
QByteArray largeCardFile(int site, int points, int records);

// vortan-cli on the survey database `database`, with the postal database and
// the settings folder of `shared`, default settings otherwise.
ChildCommand cliCommand(const ShippedFilesCopy& shared, const QString& database,
                        const QStringList& arguments);

// A program the crash tests built beside themselves.
ChildCommand helperCommand(const QString& program, const QStringList& arguments);

} // namespace vortan::test
