// Holds a lock on a database file for a while, as another program using the
// same survey database would.
//   crash_hold_lock DATABASE write|read MILLISECONDS|- commit|rollback
// write: begins an immediate transaction and adds a row to mst天候, so that
//        no other program can write; read: begins a transaction and reads
//        調査地区, so that no other program can commit.
// Prints "held" once the lock is held, waits the milliseconds (with "-":
// until a line or the end of standard input), ends the transaction as told
// and prints "released". Exits 1 when a statement fails.

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

bool run(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s: %s\n", sql, message ? message : "?");
    sqlite3_free(message);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 || (std::strcmp(argv[2], "write") != 0 && std::strcmp(argv[2], "read") != 0)) {
        std::fprintf(stderr, "usage: crash_hold_lock DATABASE write|read MILLISECONDS|- commit|rollback\n");
        return 2;
    }
    const bool write = std::strcmp(argv[2], "write") == 0;
    const bool untilTold = std::strcmp(argv[3], "-") == 0;
    const int milliseconds = untilTold ? 0 : std::atoi(argv[3]);
    const bool commit = std::strcmp(argv[4], "commit") == 0;

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    const bool held = write ? run(db, "BEGIN IMMEDIATE") && run(db, "INSERT INTO mst天候 (天候名) VALUES ('占有中')")
                            : run(db, "BEGIN") && run(db, "SELECT count(*) FROM 調査地区");
    if (!held)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    if (untilTold) {
        int c;
        while ((c = std::getchar()) != EOF && c != '\n') {
        }
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    if (!run(db, commit ? "COMMIT" : "ROLLBACK"))
        return 1;
    std::printf("released\n");
    std::fflush(stdout);
    sqlite3_close(db);
    return 0;
}
