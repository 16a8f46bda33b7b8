// Holds a transaction begun for writing on a survey database, file or
// server, through the database layer, as another workstation saving a
// survey would.
//   crash_hold_transaction DATABASE
// Adds a row to mst天候, prints "held", waits for a line (or the end) of
// standard input, rolls back and prints "released". Exits 1 when a
// statement fails.

#include "core/failure.h"
#include "db/database.h"

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: crash_hold_transaction DATABASE\n");
        return 2;
    }
    try {
        auto database = vortan::db::Database::open(QString::fromUtf8(argv[1]));
        database->beginTransaction();
        database->execute(QStringLiteral("INSERT INTO mst天候 (天候名) VALUES ('占有中');"));
        std::printf("held\n");
        std::fflush(stdout);
        std::string line;
        std::getline(std::cin, line);
        database->rollback();
        std::printf("released\n");
    } catch (const vortan::Failure& failure) {
        std::fprintf(stderr, "%d %s\n", failure.number(), failure.description().toUtf8().constData());
        return 1;
    }
    return 0;
}
