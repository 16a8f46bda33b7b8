#include "support/failing_sqlite_vfs.h"

#include <sqlite3.h>

#include <cstring>

namespace vortan::test {

namespace {

// One file of the layer: our methods in front, the real file behind.
struct WrappedFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;
int g_failCode = SQLITE_OK;
int g_refused = 0;

sqlite3_file* realOf(sqlite3_file* file)
{
    return reinterpret_cast<WrappedFile*>(file)->real;
}

int fileClose(sqlite3_file* file)
{
    sqlite3_file* real = realOf(file);
    const int rc = real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
    sqlite3_free(real);
    return rc;
}
int fileRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
}
int fileWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (g_failCode != SQLITE_OK) {
        ++g_refused;
        return g_failCode;
    }
    return realOf(f)->pMethods->xWrite(realOf(f), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    if (g_failCode != SQLITE_OK) {
        ++g_refused;
        return (g_failCode & 0xff) == SQLITE_IOERR ? SQLITE_IOERR_TRUNCATE : g_failCode;
    }
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int fileSync(sqlite3_file* f, int flags)
{
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int fileLock(sqlite3_file* f, int level)
{
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int fileUnlock(sqlite3_file* f, int level)
{
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int fileCheckReservedLock(sqlite3_file* f, int* out)
{
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int fileControl(sqlite3_file* f, int op, void* arg)
{
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int fileSectorSize(sqlite3_file* f)
{
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int fileDeviceCharacteristics(sqlite3_file* f)
{
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}

// Version 1: no shared memory, so the database keeps its rollback journal.
const sqlite3_io_methods g_methods = {
    1,           fileClose,  fileRead,   fileWrite,          fileTruncate,          fileSync,
    fileSize,    fileLock,   fileUnlock, fileCheckReservedLock, fileControl, fileSectorSize,
    fileDeviceCharacteristics, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

int vfsOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* wrapped = reinterpret_cast<WrappedFile*>(file);
    wrapped->base.pMethods = nullptr;
    wrapped->real = static_cast<sqlite3_file*>(sqlite3_malloc(g_real->szOsFile));
    if (!wrapped->real)
        return SQLITE_NOMEM;
    std::memset(wrapped->real, 0, static_cast<std::size_t>(g_real->szOsFile));
    const int rc = g_real->xOpen(g_real, name, wrapped->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (wrapped->real->pMethods)
            wrapped->real->pMethods->xClose(wrapped->real);
        sqlite3_free(wrapped->real);
        wrapped->real = nullptr;
        return rc;
    }
    wrapped->base.pMethods = &g_methods;
    return SQLITE_OK;
}
int vfsDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    return g_real->xDelete(g_real, name, syncDir);
}
int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return g_real->xAccess(g_real, name, flags, out);
}
int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return g_real->xFullPathname(g_real, name, size, out);
}
int vfsRandomness(sqlite3_vfs*, int size, char* out)
{
    return g_real->xRandomness(g_real, size, out);
}
int vfsSleep(sqlite3_vfs*, int microseconds)
{
    return g_real->xSleep(g_real, microseconds);
}
int vfsCurrentTime(sqlite3_vfs*, double* out)
{
    return g_real->xCurrentTime(g_real, out);
}
int vfsGetLastError(sqlite3_vfs*, int size, char* out)
{
    return g_real->xGetLastError ? g_real->xGetLastError(g_real, size, out) : 0;
}
int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out)
{
    return g_real->xCurrentTimeInt64(g_real, out);
}

} // namespace

FailingSqliteVfs::FailingSqliteVfs()
{
    g_real = sqlite3_vfs_find(nullptr);
    std::memset(&g_vfs, 0, sizeof g_vfs);
    g_vfs.iVersion = 2;
    g_vfs.szOsFile = static_cast<int>(sizeof(WrappedFile));
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = "vortan-failing";
    g_vfs.xOpen = vfsOpen;
    g_vfs.xDelete = vfsDelete;
    g_vfs.xAccess = vfsAccess;
    g_vfs.xFullPathname = vfsFullPathname;
    g_vfs.xRandomness = vfsRandomness;
    g_vfs.xSleep = vfsSleep;
    g_vfs.xCurrentTime = vfsCurrentTime;
    g_vfs.xGetLastError = vfsGetLastError;
    g_vfs.xCurrentTimeInt64 = vfsCurrentTimeInt64;
    g_failCode = SQLITE_OK;
    g_refused = 0;
    sqlite3_vfs_register(&g_vfs, 1);
}

FailingSqliteVfs::~FailingSqliteVfs()
{
    sqlite3_vfs_unregister(&g_vfs);
    sqlite3_vfs_register(g_real, 1);
    g_failCode = SQLITE_OK;
}

void FailingSqliteVfs::failWrites(int code)
{
    g_failCode = code;
    g_refused = 0;
}

void FailingSqliteVfs::heal()
{
    g_failCode = SQLITE_OK;
}

int FailingSqliteVfs::refusedWrites() const
{
    return g_refused;
}

} // namespace vortan::test
