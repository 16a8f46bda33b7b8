#include "core/platform.h"

#include "core/failure.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>

#include <optional>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#ifdef _MSC_VER
#pragma comment(lib, "shell32.lib")
#endif
#endif

namespace vortan::platform {

namespace {

// The volume and the file number of an existing file.
struct FileIdentity {
    quint64 volume = 0;
    quint64 file = 0;
};

std::optional<FileIdentity> fileIdentity(const QString& path)
{
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(path);
    HANDLE handle = CreateFileW(reinterpret_cast<LPCWSTR>(native.utf16()), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!ok)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
#else
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
#endif
}

// Where a path that does not exist would be made: its folder as the system
// knows it and its name.
QString placeOf(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

} // namespace

bool sameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const std::optional<FileIdentity> first = fileIdentity(a);
    const std::optional<FileIdentity> second = fileIdentity(b);
    if (first && second)
        return first->volume == second->volume && first->file == second->file;
    if (first || second)
        return false;
    const Qt::CaseSensitivity letterCase =
        nativePathStyle() == PathStyle::Windows ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return placeOf(a).compare(placeOf(b), letterCase) == 0;
}

PathStyle nativePathStyle()
{
#ifdef Q_OS_WIN
    return PathStyle::Windows;
#else
    return PathStyle::Posix;
#endif
}

QChar separator(PathStyle style)
{
    return style == PathStyle::Windows ? QLatin1Char('\\') : QLatin1Char('/');
}

QString joinPath(QStringView folder, QStringView name, PathStyle style)
{
    const QChar sep = separator(style);
    QString path = folder.toString();
    if (!path.endsWith(sep))
        path += sep;
    path += name;
    return path;
}

QString programFolder()
{
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    // applicationDirPath has no trailing separator except for a root ("C:/", "/").
    return folder;
}

QString environmentValue(const QString& name)
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString temporaryFolderRule(PathStyle style, const QString& variable,
                            const EnvironmentLookup& environment,
                            const QString& systemTemporaryFolder)
{
    if (style == PathStyle::Windows)
        return environment(variable);
    for (const QString& name : {variable, QStringLiteral("tmp"), QStringLiteral("TEMP")}) {
        const QString value = environment(name);
        if (!value.isEmpty())
            return value;
    }
    return systemTemporaryFolder;
}

QString temporaryFolder()
{
    return temporaryFolderRule(nativePathStyle(), QStringLiteral("tmp"), environmentValue,
                               QDir::toNativeSeparators(QDir::tempPath()));
}

QString temporaryFolderOfTemp()
{
    return temporaryFolderRule(nativePathStyle(), QStringLiteral("TEMP"), environmentValue,
                               QDir::toNativeSeparators(QDir::tempPath()));
}

QString manualAddressRule(QStringView settingsFolder, PathStyle style)
{
    const QString fileName = QString::fromLatin1(ManualFileName);
    if (style == PathStyle::Windows) {
        QString folder = settingsFolder.toString();
        folder.replace(QLatin1Char(' '), QLatin1String("%20"));
        return QLatin1String("file:///") + folder + QLatin1Char('\\') + fileName;
    }
    return QUrl::fromLocalFile(joinPath(settingsFolder, fileName, PathStyle::Posix))
        .toString(QUrl::FullyEncoded);
}

QString manualAddress(QStringView settingsFolder)
{
    return manualAddressRule(settingsFolder, nativePathStyle());
}

void openManual(QStringView settingsFolder)
{
    // A viewer handed a missing file opens and shows nothing useful, or an
    // error of its own: say which file is missing instead.
    if (!QFileInfo::exists(joinPath(settingsFolder, QString::fromLatin1(ManualFileName))))
        throw Failure(err::FileNotFound,
                      QStringLiteral("The manual '%1' was not found")
                          .arg(joinPath(settingsFolder, QString::fromLatin1(ManualFileName))),
                      QStringLiteral("openManual"));
    const QString address = manualAddress(settingsFolder);
#ifdef Q_OS_WIN
    // The shell finds the browser through its registered application paths,
    // which a plain process start would not.
    const QString parameters = QStringLiteral("-url ") + address;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", L"msedge.exe",
                      reinterpret_cast<LPCWSTR>(parameters.utf16()), nullptr, SW_SHOWNORMAL));
    if (result > 32)
        return;
#else
    if (QDesktopServices::openUrl(QUrl(address)))
        return;
#endif
    throw Failure(err::ProgramNotFound,
                  QStringLiteral("The program to open the manual could not be started"),
                  QStringLiteral("openManual"));
}

bool openWebAddress(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

bool openFileWithDesktop(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QStringList cardFoldersRule(const std::vector<Volume>& volumes, PathStyle style)
{
    QStringList removable;
    QStringList fixed;
    for (const Volume& volume : volumes) {
        if (!volume.ready || volume.rootPath.isEmpty())
            continue;
        if (style == PathStyle::Windows) {
            // "E:/" or "E:\" -> "E:"
            if (volume.rootPath.size() < 2 || volume.rootPath.at(1) != QLatin1Char(':'))
                continue;
            const QString drive = volume.rootPath.left(2).toUpper();
            (volume.removable ? removable : fixed).append(drive);
            continue;
        }
        QString root = volume.rootPath;
        while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
            root.chop(1);
        const bool mediaFolder = root.startsWith(QLatin1String("/media/"))
                                 || root.startsWith(QLatin1String("/run/media/"))
                                 || root.startsWith(QLatin1String("/mnt/"))
                                 || root.startsWith(QLatin1String("/Volumes/"));
        if (volume.removable || mediaFolder)
            removable.append(root);
    }
    removable.removeDuplicates();
    fixed.removeDuplicates();
    return removable + fixed;
}

QStringList cardFolders()
{
    std::vector<Volume> volumes;
    const auto mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& info : mounted) {
        Volume volume;
        volume.rootPath = info.rootPath();
        volume.ready = info.isValid() && info.isReady();
#ifdef Q_OS_WIN
        const QString root = QDir::toNativeSeparators(info.rootPath());
        volume.removable =
            GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16())) == DRIVE_REMOVABLE;
#endif
        volumes.push_back(volume);
    }
    return cardFoldersRule(volumes, nativePathStyle());
}

} // namespace vortan::platform
