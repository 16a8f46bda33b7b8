#pragma once
// Runs a command in a child process and ends it with SIGKILL right after a
// chosen file-system call. A preload library (Linux only) counts the calls
// that change files of one folder: creating or truncating opens, writes,
// syncs, truncations, renames, links, removals and the close of a written
// file. A first run logs every such call, so the points of an operation are
// known, numbered and the same in every run; later runs are killed at one of
// them each.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QProcess;

namespace vortan::test {

struct ChildCommand {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

struct ChildOutcome {
    bool started = false;
    bool killed = false;      // ended by SIGKILL
    int exitCode = -1;        // when it ended by itself
    QString out;
    QString err;
};

struct KillPoint {
    long number = 0;          // 1-based, in call order
    QString kind;             // the call: "pwrite64", "fdatasync", "unlink", ...
    QString path;
};

// True when children can be killed at file-system calls here; otherwise
// `reason` says why not.
bool killPointsAvailable(QString* reason);

// Runs the command to its end, logging the calls that change files of
// `folder`; the points in call order.
std::vector<KillPoint> countKillPoints(const ChildCommand& command, const QString& folder,
                                       ChildOutcome* outcome);

// The points to kill at, ascending: every point that is not a plain write
// (those order the steps of a change), and writes evenly spread so that
// about `target` points are chosen in all; every point when there are fewer.
std::vector<long> chooseKillPoints(const std::vector<KillPoint>& points, int target);

// The command started to be killed right after call `point` on files of
// `folder`; several may run side by side.
class KilledChild {
public:
    KilledChild(const ChildCommand& command, const QString& folder, long point);
    ~KilledChild();
    KilledChild(const KilledChild&) = delete;
    KilledChild& operator=(const KilledChild&) = delete;

    // Waits for the end of the child.
    ChildOutcome finish();

private:
    std::unique_ptr<QProcess> process_;
    ChildOutcome outcome_;
};

} // namespace vortan::test
