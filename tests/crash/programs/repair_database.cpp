// Repairs a database file as the main window's database repair does, so
// that the crash tests can kill it part way.
//   crash_repair_database DATABASE SCRATCH
// Exits 0 when the file was repaired; otherwise 1 with the failure.

#include "core/failure.h"
#include "db/database_repair.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: crash_repair_database DATABASE SCRATCH\n");
        return 2;
    }
    try {
        vortan::db::repairDatabase(args[1], args[2]);
    } catch (const vortan::Failure& failure) {
        std::fprintf(stderr, "%d %s\n", failure.number(), failure.description().toUtf8().constData());
        return 1;
    }
    return 0;
}
