/* A shared library the crash tests load into a child process with
 * LD_PRELOAD (Linux only). It counts the file-system calls that change files
 * inside one folder -- creating or truncating opens, writes, syncs, truncates,
 * renames, links, removals, and the close of a file written to -- and kills
 * the process with SIGKILL right after the N-th of them.
 *
 * Environment:
 *   VORTAN_KILL_DIR  the folder whose files count (absolute path); nothing
 *                    counts without it
 *   VORTAN_KILL_AT   N: SIGKILL right after the N-th counted call (0 or
 *                    unset: never)
 *   VORTAN_KILL_LOG  a file outside the folder that receives one line per
 *                    counted call: "N kind path"
 *
 * Its own bookkeeping uses raw system calls, so it neither counts itself nor
 * goes through the wrappers of a sanitizer runtime loaded beside it. */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

enum { MaxTrackedFd = 4096, MaxPath = 4096 };

static int g_ready;
static char g_dir[MaxPath];
static size_t g_dirLength;
static long g_killAt;
static long g_count;
static int g_logFd = -1;
static unsigned char g_written[MaxTrackedFd];

static void setUp(void)
{
    if (g_ready)
        return;
    g_ready = 1;
    const char* dir = getenv("VORTAN_KILL_DIR");
    if (dir && dir[0] == '/' && strlen(dir) < sizeof g_dir - 2) {
        strcpy(g_dir, dir);
        g_dirLength = strlen(g_dir);
        if (g_dir[g_dirLength - 1] != '/')
            g_dir[g_dirLength++] = '/';
    }
    const char* at = getenv("VORTAN_KILL_AT");
    g_killAt = at ? strtol(at, NULL, 10) : 0;
    const char* log = getenv("VORTAN_KILL_LOG");
    if (log && *log)
        g_logFd = (int)syscall(SYS_openat, AT_FDCWD, log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

/* The folder itself (an unnamed file made in it) or a path inside it. */
static int inFolder(const char* path)
{
    if (g_dirLength == 0)
        return 0;
    if (strncmp(path, g_dir, g_dirLength - 1) != 0)
        return 0;
    return path[g_dirLength - 1] == '\0' || path[g_dirLength - 1] == '/';
}

/* True when the path (absolute, or relative to the working folder) lies in the folder. */
static int pathCounts(int dirFd, const char* path)
{
    setUp();
    if (!g_dirLength || !path)
        return 0;
    if (path[0] == '/')
        return inFolder(path);
    char full[MaxPath];
    if (dirFd == AT_FDCWD) {
        if (syscall(SYS_getcwd, full, sizeof full) < 0)
            return 0;
    } else {
        char link[64];
        snprintf(link, sizeof link, "/proc/self/fd/%d", dirFd);
        const long n = syscall(SYS_readlinkat, AT_FDCWD, link, full, sizeof full - 1);
        if (n <= 0)
            return 0;
        full[n] = '\0';
    }
    const size_t length = strlen(full);
    if (length + 1 + strlen(path) + 1 > sizeof full)
        return 0;
    full[length] = '/';
    strcpy(full + length + 1, path);
    return inFolder(full);
}

/* The path an open descriptor refers to, in `buffer`; false when it has none. */
static int fdPath(int fd, char* buffer, size_t size)
{
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const long n = syscall(SYS_readlinkat, AT_FDCWD, link, buffer, size - 1);
    if (n <= 0)
        return 0;
    buffer[n] = '\0';
    return 1;
}

static int fdCounts(int fd, char* path, size_t size)
{
    setUp();
    return g_dirLength && fd >= 0 && fdPath(fd, path, size) && inFolder(path);
}

/* Records a counted call and ends the process when it is the chosen one. */
static void counted(const char* kind, const char* path)
{
    ++g_count;
    if (g_logFd >= 0) {
        char line[MaxPath + 64];
        const int n = snprintf(line, sizeof line, "%ld %s %s\n", g_count, kind, path ? path : "");
        if (n > 0)
            syscall(SYS_write, g_logFd, line, (size_t)(n < (int)sizeof line ? n : (int)sizeof line - 1));
    }
    if (g_killAt > 0 && g_count == g_killAt)
        syscall(SYS_kill, syscall(SYS_getpid), SIGKILL);
}

static void markWritten(int fd)
{
    if (fd >= 0 && fd < MaxTrackedFd)
        g_written[fd] = 1;
}

#define NEXT(name) ((name##_fn)dlsym(RTLD_NEXT, #name))

/* --- calls on a descriptor ------------------------------------------------ */

#define WRITE_LIKE(name, params, args)                                                   \
    typedef ssize_t (*name##_fn) params;                                                 \
    ssize_t name params                                                                  \
    {                                                                                    \
        static name##_fn real;                                                           \
        if (!real)                                                                       \
            real = NEXT(name);                                                           \
        char path[MaxPath];                                                              \
        const int counts = fdCounts(fd, path, sizeof path);                              \
        const ssize_t result = real args;                                                \
        if (counts) {                                                                    \
            markWritten(fd);                                                             \
            counted(#name, path);                                                        \
        }                                                                                \
        return result;                                                                   \
    }

WRITE_LIKE(write, (int fd, const void* buffer, size_t count), (fd, buffer, count))
WRITE_LIKE(pwrite, (int fd, const void* buffer, size_t count, off_t offset), (fd, buffer, count, offset))
WRITE_LIKE(pwrite64, (int fd, const void* buffer, size_t count, off64_t offset), (fd, buffer, count, offset))
WRITE_LIKE(writev, (int fd, const struct iovec* vector, int count), (fd, vector, count))
WRITE_LIKE(pwritev, (int fd, const struct iovec* vector, int count, off_t offset), (fd, vector, count, offset))

#define FD_CALL(name, params, args)                                                      \
    typedef int (*name##_fn) params;                                                     \
    int name params                                                                      \
    {                                                                                    \
        static name##_fn real;                                                           \
        if (!real)                                                                       \
            real = NEXT(name);                                                           \
        char path[MaxPath];                                                              \
        const int counts = fdCounts(fd, path, sizeof path);                              \
        const int result = real args;                                                    \
        if (counts)                                                                      \
            counted(#name, path);                                                        \
        return result;                                                                   \
    }

FD_CALL(fsync, (int fd), (fd))
FD_CALL(fdatasync, (int fd), (fd))
FD_CALL(ftruncate, (int fd, off_t length), (fd, length))
FD_CALL(ftruncate64, (int fd, off64_t length), (fd, length))

typedef int (*close_fn)(int);
int close(int fd)
{
    static close_fn real;
    if (!real)
        real = NEXT(close);
    char path[MaxPath];
    const int wasWritten = fd >= 0 && fd < MaxTrackedFd && g_written[fd];
    const int counts = wasWritten && fdCounts(fd, path, sizeof path);
    if (fd >= 0 && fd < MaxTrackedFd)
        g_written[fd] = 0;
    const int result = real(fd);
    if (counts)
        counted("close", path);
    return result;
}

/* --- calls on a path ------------------------------------------------------ */

typedef int (*rename_fn)(const char*, const char*);
int rename(const char* from, const char* to)
{
    static rename_fn real;
    if (!real)
        real = NEXT(rename);
    const int counts = pathCounts(AT_FDCWD, from) || pathCounts(AT_FDCWD, to);
    const int result = real(from, to);
    if (counts)
        counted("rename", to);
    return result;
}

typedef int (*renameat_fn)(int, const char*, int, const char*);
int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    static renameat_fn real;
    if (!real)
        real = NEXT(renameat);
    const int counts = pathCounts(fromDir, from) || pathCounts(toDir, to);
    const int result = real(fromDir, from, toDir, to);
    if (counts)
        counted("renameat", to);
    return result;
}

typedef int (*renameat2_fn)(int, const char*, int, const char*, unsigned int);
int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags)
{
    static renameat2_fn real;
    if (!real)
        real = NEXT(renameat2);
    const int counts = pathCounts(fromDir, from) || pathCounts(toDir, to);
    const int result = real(fromDir, from, toDir, to, flags);
    if (counts)
        counted("renameat2", to);
    return result;
}

typedef int (*linkat_fn)(int, const char*, int, const char*, int);
int linkat(int fromDir, const char* from, int toDir, const char* to, int flags)
{
    static linkat_fn real;
    if (!real)
        real = NEXT(linkat);
    const int counts = pathCounts(toDir, to);
    const int result = real(fromDir, from, toDir, to, flags);
    if (counts)
        counted("linkat", to);
    return result;
}

typedef int (*unlink_fn)(const char*);
int unlink(const char* path)
{
    static unlink_fn real;
    if (!real)
        real = NEXT(unlink);
    const int counts = pathCounts(AT_FDCWD, path);
    const int result = real(path);
    if (counts)
        counted("unlink", path);
    return result;
}

typedef int (*unlinkat_fn)(int, const char*, int);
int unlinkat(int dirFd, const char* path, int flags)
{
    static unlinkat_fn real;
    if (!real)
        real = NEXT(unlinkat);
    const int counts = pathCounts(dirFd, path);
    const int result = real(dirFd, path, flags);
    if (counts)
        counted("unlinkat", path);
    return result;
}

/* Opens that create or truncate a file change the folder. */
static mode_t modeArgument(int flags, va_list list)
{
    return (flags & (O_CREAT | __O_TMPFILE)) ? (mode_t)va_arg(list, int) : 0;
}

static int openChanges(int flags)
{
    return (flags & (O_CREAT | O_TRUNC | __O_TMPFILE)) != 0;
}

#define OPEN_CALL(name)                                                                  \
    typedef int (*name##_fn)(const char*, int, ...);                                     \
    int name(const char* path, int flags, ...)                                           \
    {                                                                                    \
        static name##_fn real;                                                           \
        if (!real)                                                                       \
            real = NEXT(name);                                                           \
        va_list list;                                                                    \
        va_start(list, flags);                                                           \
        const mode_t mode = modeArgument(flags, list);                                   \
        va_end(list);                                                                    \
        const int counts = openChanges(flags) && pathCounts(AT_FDCWD, path);             \
        const int result = real(path, flags, mode);                                      \
        if (counts)                                                                      \
            counted(#name, path);                                                        \
        return result;                                                                   \
    }

#define OPENAT_CALL(name)                                                                \
    typedef int (*name##_fn)(int, const char*, int, ...);                                \
    int name(int dirFd, const char* path, int flags, ...)                                \
    {                                                                                    \
        static name##_fn real;                                                           \
        if (!real)                                                                       \
            real = NEXT(name);                                                           \
        va_list list;                                                                    \
        va_start(list, flags);                                                           \
        const mode_t mode = modeArgument(flags, list);                                   \
        va_end(list);                                                                    \
        const int counts = openChanges(flags) && pathCounts(dirFd, path);                \
        const int result = real(dirFd, path, flags, mode);                              \
        if (counts)                                                                      \
            counted(#name, path);                                                        \
        return result;                                                                   \
    }

OPEN_CALL(open)
OPEN_CALL(open64)
OPENAT_CALL(openat)
OPENAT_CALL(openat64)
