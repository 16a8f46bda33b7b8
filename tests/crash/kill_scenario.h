#pragma once
// One operation killed at many points: the files of the state before it are
// put into a fresh folder for every kill, the operation runs there in a child
// process that is killed right after one file-system call, and what the
// folder holds afterwards must be exactly the state before or exactly the
// state after the whole operation.

#include "kill_point_harness.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace vortan::test {

// Kills per operation. Programs built with the sanitizers run several times
// slower; that run looks for memory faults and tries fewer points, the
// ordinary build tries them all.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int DefaultKillTarget = 30;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr int DefaultKillTarget = 30;
#else
inline constexpr int DefaultKillTarget = 100;
#endif
#else
inline constexpr int DefaultKillTarget = 100;
#endif

struct KillScenario {
    QString name;
    // Puts the files of the state before the operation into an empty folder.
    std::function<void(const QString& folder)> prepare;
    // The operation on the files of `folder`.
    std::function<ChildCommand(const QString& folder)> command;
    // The state of `folder` as the program would find it (read after the kill).
    std::function<QStringList(const QString& folder)> state;
    // False: the whole state must be the one before or the one after. True:
    // each line stands for a file of its own, which must be whole on its own
    // (an operation rewriting several files in turn).
    bool linesOnTheirOwn = false;
    // About this many points are tried (all of them when there are fewer).
    int target = DefaultKillTarget;
};

struct KillScenarioResult {
    int points = 0;   // calls of the whole operation that change files
    int tried = 0;    // kills made
    int before = 0;   // kills that left the state before
    int after = 0;    // kills that left the state after
    int between = 0;  // kills between files written one after the other
};

// Runs the scenario; every problem is a test failure that names the point.
// Prints the figures on standard output.
KillScenarioResult runKillScenario(const KillScenario& scenario);

// Copies the files (not folders) of one folder into another.
bool copyFolderFiles(const QString& from, const QString& to);

} // namespace vortan::test
