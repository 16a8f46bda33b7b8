#include "kill_point_harness.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <set>

namespace vortan::test {

namespace {

constexpr int ChildTimeoutMs = 120000;

QString preloadLibrary()
{
#ifdef VORTAN_KILL_POINTS_LIBRARY
    return QStringLiteral(VORTAN_KILL_POINTS_LIBRARY);
#else
    return QString();
#endif
}

// The child's environment: the preload library ahead of any other, the folder
// whose files count, the point and the log. A sanitizer runtime insists on
// coming first among the loaded libraries; the check is switched off for the
// children only, keeping the other sanitizer options of the run.
QProcessEnvironment killEnvironment(QProcessEnvironment environment, const QString& folder,
                                    long point, const QString& log)
{
    const QString preload = environment.value(QStringLiteral("LD_PRELOAD"));
    environment.insert(QStringLiteral("LD_PRELOAD"),
                       preload.isEmpty() ? preloadLibrary() : preloadLibrary() + QLatin1Char(':') + preload);
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    const QString linkOrder = QStringLiteral("verify_asan_link_order=0");
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       asan.isEmpty() ? linkOrder : asan + QLatin1Char(':') + linkOrder);
    environment.insert(QStringLiteral("VORTAN_KILL_DIR"), QFileInfo(folder).absoluteFilePath());
    environment.insert(QStringLiteral("VORTAN_KILL_AT"), QString::number(point));
    if (log.isEmpty())
        environment.remove(QStringLiteral("VORTAN_KILL_LOG"));
    else
        environment.insert(QStringLiteral("VORTAN_KILL_LOG"), log);
    return environment;
}

void startChild(QProcess& process, const ChildCommand& command, const QProcessEnvironment& environment,
           ChildOutcome& outcome)
{
    process.setProcessEnvironment(environment);
    process.start(command.program, command.arguments);
    outcome.started = process.waitForStarted(ChildTimeoutMs);
    if (outcome.started)
        process.closeWriteChannel();
    else
        outcome.err = process.errorString();
}

void finishChild(QProcess& process, ChildOutcome& outcome)
{
    if (!outcome.started)
        return;
    if (!process.waitForFinished(ChildTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        outcome.err = QStringLiteral("the child did not end in time");
        return;
    }
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        outcome.exitCode = process.exitCode();
    else
        outcome.killed = process.exitCode() == 9;   // the signal that ended it
}

} // namespace

bool killPointsAvailable(QString* reason)
{
#ifndef __linux__
    *reason = QStringLiteral("kill points need LD_PRELOAD (Linux)");
    return false;
#else
    if (preloadLibrary().isEmpty() || !QFileInfo::exists(preloadLibrary())) {
        *reason = QStringLiteral("the kill point library was not built");
        return false;
    }
    return true;
#endif
}

std::vector<KillPoint> countKillPoints(const ChildCommand& command, const QString& folder,
                                       ChildOutcome* outcome)
{
    QTemporaryDir logFolder;
    const QString log = logFolder.filePath(QStringLiteral("kill-points.log"));
    QProcess process;
    *outcome = ChildOutcome();
    startChild(process, command, killEnvironment(command.environment, folder, 0, log), *outcome);
    finishChild(process, *outcome);

    std::vector<KillPoint> points;
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return points;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() < 3)
            continue;
        KillPoint point;
        point.number = parts[0].toLong();
        point.kind = QString::fromLatin1(parts[1]);
        point.path = QString::fromUtf8(line.mid(parts[0].size() + parts[1].size() + 2));
        points.push_back(point);
    }
    return points;
}

std::vector<long> chooseKillPoints(const std::vector<KillPoint>& points, int target)
{
    std::set<long> chosen;
    std::vector<long> writes;
    for (const KillPoint& point : points) {
        if (point.kind.contains(QLatin1String("write")))
            writes.push_back(point.number);
        else
            chosen.insert(point.number);
    }
    const long wanted = std::max<long>(0, target - static_cast<long>(chosen.size()));
    if (static_cast<long>(writes.size()) <= wanted) {
        chosen.insert(writes.begin(), writes.end());
    } else if (wanted > 0) {
        // Evenly spread, the first and the last write included.
        for (long i = 0; i < wanted; ++i) {
            const std::size_t index = wanted == 1
                ? 0
                : static_cast<std::size_t>(i * static_cast<long>(writes.size() - 1) / (wanted - 1));
            chosen.insert(writes[index]);
        }
    }
    return {chosen.begin(), chosen.end()};
}

KilledChild::KilledChild(const ChildCommand& command, const QString& folder, long point)
    : process_(std::make_unique<QProcess>())
{
    startChild(*process_, command, killEnvironment(command.environment, folder, point, QString()), outcome_);
}

KilledChild::~KilledChild() = default;

ChildOutcome KilledChild::finish()
{
    finishChild(*process_, outcome_);
    return outcome_;
}

} // namespace vortan::test
