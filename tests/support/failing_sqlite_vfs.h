#pragma once
// A database engine file layer that fails like a disk: while the object
// lives it is the engine's default, so databases opened after it was made
// write through it; once told, every write fails with the engine's code for
// a full disk or an input/output error (a drive that went away). Reading
// keeps working, so a test can compare the tables before and after.

namespace vortan::test {

class FailingSqliteVfs {
public:
    FailingSqliteVfs();
    ~FailingSqliteVfs();
    FailingSqliteVfs(const FailingSqliteVfs&) = delete;
    FailingSqliteVfs& operator=(const FailingSqliteVfs&) = delete;

    // From now on every write fails with `code` (SQLITE_FULL, SQLITE_IOERR_WRITE, ...).
    void failWrites(int code);
    // Writing works again.
    void heal();
    // Writes refused since failWrites.
    int refusedWrites() const;
};

} // namespace vortan::test
