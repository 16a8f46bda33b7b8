#include "core/program_files.h"

#include "core/file_failure.h"
#include "core/platform.h"

#include <QDir>
#include <QFileInfo>

namespace vortan {

namespace {

void addDatabase(std::vector<ProgramFile>& files, const QString& path, const QString& role)
{
    if (path.isEmpty())
        return;
    files.push_back({path, role});
    // The engine's journals: a file written under one of these names would
    // be taken for an interrupted transaction of the database.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        files.push_back({path + QLatin1String(suffix), role + QStringLiteral("の作業ファイル")});
}

} // namespace

std::vector<ProgramFile> ProgramFiles(const ProgramState& state, const QString& openDatabase)
{
    std::vector<ProgramFile> files;
    addDatabase(files, openDatabase, QStringLiteral("Vortanデータベース"));
    addDatabase(files, state.settings.データ位置, QStringLiteral("Vortanデータベース"));
    addDatabase(files, state.settings.住所位置, QStringLiteral("住所データベース"));
    if (!state.settingsFile.isEmpty())
        files.push_back({state.settingsFile, QStringLiteral("Vortanの設定ファイル")});
    const QString folder = state.settings.ini位置;
    if (!folder.isEmpty()) {
        for (const char* name : {"grpType.ini", "cfdrive.ini", "rqtbl.csv", "qaTbl.tbl", "Qadel.tbl",
                                 platform::ManualFileName})
            files.push_back({platform::joinPath(folder, QString::fromLatin1(name)),
                             QStringLiteral("Vortanの設定フォルダのファイル")});
    }
    return files;
}

void CheckWriteTarget(const QString& target, const std::vector<ProgramFile>& files, const QString& source)
{
    for (const ProgramFile& file : files) {
        if (platform::sameFile(target, file.path))
            throw Failure(err::BadFileName,
                          QStringLiteral("「%1」は%2（%3）です。このファイルには書き込めません。"
                                         "別のファイル名を指定してください。")
                              .arg(QDir::toNativeSeparators(target), file.role,
                                   QDir::toNativeSeparators(file.path)),
                          source);
    }
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        throw notAFileFailure(target, source);
}

} // namespace vortan
