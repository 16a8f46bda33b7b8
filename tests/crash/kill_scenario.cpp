#include "kill_scenario.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace vortan::test {

namespace {

// Where two states first differ, for the failure message.
QString firstDifference(const QStringList& a, const QStringList& b)
{
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
        if (a.value(i) != b.value(i))
            return QStringLiteral("line %1: \"%2\" / \"%3\"").arg(i + 1).arg(a.value(i).left(200), b.value(i).left(200));
    return QString();
}

// The folder's path with every symbolic link resolved: the preload library
// compares it with the paths the system gives for open files.
QString realPath(const QTemporaryDir& folder)
{
    return QDir(folder.path()).canonicalPath();
}

// True when every line is that of the state before or that of the state after.
bool wholeLines(const QStringList& state, const QStringList& before, const QStringList& after)
{
    if (state.size() != before.size() || state.size() != after.size())
        return false;
    for (qsizetype i = 0; i < state.size(); ++i)
        if (state[i] != before[i] && state[i] != after[i])
            return false;
    return true;
}

} // namespace

bool copyFolderFiles(const QString& from, const QString& to)
{
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files | QDir::Hidden)) {
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return true;
}

KillScenarioResult runKillScenario(const KillScenario& scenario)
{
    KillScenarioResult result;
    const QByteArray name = scenario.name.toUtf8();

    QTemporaryDir beforeFolder;
    scenario.prepare(realPath(beforeFolder));
    QStringList before;
    {
        QTemporaryDir copy;
        EXPECT_TRUE(copyFolderFiles(realPath(beforeFolder), realPath(copy)));
        before = scenario.state(realPath(copy));
    }

    // The whole operation once, logging its points; its end is the state after.
    QTemporaryDir countFolder;
    EXPECT_TRUE(copyFolderFiles(realPath(beforeFolder), realPath(countFolder)));
    ChildOutcome counted;
    const std::vector<KillPoint> points =
        countKillPoints(scenario.command(realPath(countFolder)), realPath(countFolder), &counted);
    EXPECT_EQ(counted.exitCode, 0) << name.constData() << ": " << counted.err.toStdString();
    const QStringList after = scenario.state(realPath(countFolder));
    EXPECT_NE(before, after) << name.constData() << ": the operation changed nothing";
    result.points = static_cast<int>(points.size());
    if (counted.exitCode != 0 || points.empty()) {
        ADD_FAILURE() << name.constData() << ": no kill points (" << counted.err.toStdString() << ")";
        return result;
    }

    // Children run side by side, a few at a time.
    const std::vector<long> chosen = chooseKillPoints(points, scenario.target);
    const std::size_t batch = static_cast<std::size_t>(std::clamp(QThread::idealThreadCount(), 2, 4));
    for (std::size_t first = 0; first < chosen.size(); first += batch) {
        const std::size_t end = std::min(chosen.size(), first + batch);
        std::vector<std::unique_ptr<QTemporaryDir>> folders;
        std::vector<std::unique_ptr<KilledChild>> children;
        for (std::size_t i = first; i < end; ++i) {
            folders.push_back(std::make_unique<QTemporaryDir>());
            if (!copyFolderFiles(realPath(beforeFolder), realPath(*folders.back()))) {
                ADD_FAILURE() << name.constData() << ": cannot copy the files";
                return result;
            }
            children.push_back(std::make_unique<KilledChild>(scenario.command(realPath(*folders.back())),
                                                             realPath(*folders.back()), chosen[i]));
        }
        for (std::size_t i = first; i < end; ++i) {
            const ChildOutcome outcome = children[i - first]->finish();
            const QString folder = realPath(*folders[i - first]);
            const long point = chosen[i];
            ++result.tried;
            const KillPoint& at = points[static_cast<std::size_t>(point - 1)];
            const std::string where = QStringLiteral("%1, killed after call %2 of %3 (%4 %5)")
                                          .arg(scenario.name)
                                          .arg(point)
                                          .arg(points.size())
                                          .arg(at.kind, at.path)
                                          .toStdString();
            EXPECT_TRUE(outcome.killed) << where << ": the child was not killed, it "
                                        << (outcome.started ? "ended by itself: the calls differ from run to run. "
                                                            : "did not start. ")
                                        << outcome.err.toStdString();
            const QStringList state = scenario.state(folder);
            if (state == before)
                ++result.before;
            else if (state == after)
                ++result.after;
            else if (scenario.linesOnTheirOwn && wholeLines(state, before, after))
                ++result.between;
            else
                ADD_FAILURE() << where << ": neither the state before nor the state after; "
                              << "against before " << firstDifference(state, before).toStdString()
                              << "; against after " << firstDifference(state, after).toStdString();
        }
    }
    std::printf("[ kill     ] %s: %d points, %d tried: %d left the state before, %d the state after",
                name.constData(), result.points, result.tried, result.before, result.after);
    if (scenario.linesOnTheirOwn)
        std::printf(", %d a state between whole files", result.between);
    std::printf("\n");
    std::fflush(stdout);
    return result;
}

} // namespace vortan::test
