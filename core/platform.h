#pragma once
// Everything that differs between the platforms the program runs on: the
// program folder, joining folders and file names, the temporary folder, the
// manual's address, handing addresses and files to the desktop, and the
// folders where a memory card can be found.
//
// On Windows the rules are those of the program's first platform: backslashes,
// drive letters, the environment variable "tmp", the browser "msedge.exe".
// Elsewhere they take the platform's natural equivalent. Each rule that can be
// stated without touching the machine is a pure function taking the path
// style, so both behaviours are tested everywhere.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

namespace vortan::platform {

enum class PathStyle { Windows, Posix };

// The style of the platform the program was built for.
PathStyle nativePathStyle();

// The folder separator of a style: "\" or "/".
QChar separator(PathStyle style);

// Joins a folder and a file name with the style's separator, without doubling
// it when the folder already ends with one ("C:\" + "VORTAN.MDB" gives
// "C:\VORTAN.MDB", "C:\Prog" gives "C:\Prog\VORTAN.MDB"). An empty folder
// gives the separator and the name (the root folder of the current drive).
QString joinPath(QStringView folder, QStringView name, PathStyle style = nativePathStyle());

// The folder of the running program, in native separators, without a trailing
// separator except for a drive or file system root ("C:\", "/").
QString programFolder();

// Environment lookup used by the pure rules below: the value of a variable,
// empty when unset.
using EnvironmentLookup = std::function<QString(const QString& name)>;
QString environmentValue(const QString& name);

// The temporary folder by the style's rule. Windows: exactly the value of the
// variable `variable` (empty when unset, so that a file joined to it lands in
// the root folder of the current drive). Elsewhere: the first non-empty value
// of `variable`, "tmp" and "TEMP", else `systemTemporaryFolder`.
QString temporaryFolderRule(PathStyle style, const QString& variable,
                            const EnvironmentLookup& environment,
                            const QString& systemTemporaryFolder);

// The temporary folder of the database repair (variable "tmp").
QString temporaryFolder();
// The temporary folder of the data sheet's point move (variable "TEMP").
QString temporaryFolderOfTemp();

// File name of the manual in the settings folder.
inline constexpr auto ManualFileName = "VORTAN_Manual.pdf";

// Address of the manual in the settings folder. Windows: "file:///" + the
// folder with every blank as "%20" + "\VORTAN_Manual.pdf"
// ("file:///C:\Program%20Files\X\VORTAN_Manual.pdf"). Elsewhere: the file
// address of the joined path, percent-encoded ("file:///opt/My%20X/VORTAN_Manual.pdf").
QString manualAddressRule(QStringView settingsFolder, PathStyle style);
QString manualAddress(QStringView settingsFolder);

// Opens the manual: on Windows the command "msedge.exe -url " + address
// through the shell, elsewhere the desktop's viewer for the address. Throws
// Failure with the file-not-found number when the settings folder holds no
// manual, and with the program-not-found number when nothing could be started.
void openManual(QStringView settingsFolder);

// Hands a web address to the desktop's "open" action; false when refused.
bool openWebAddress(const QString& address);

// Opens a local file with the desktop's program for it; false when refused.
bool openFileWithDesktop(const QString& path);

// True when the two paths name one file, by identity rather than spelling:
// through links, relative paths, ".." and (on Windows) letter case alike. A
// path that does not exist yet is the same as another when it would be
// created in the same folder under the same name.
bool sameFile(const QString& a, const QString& b);

// A mounted volume as the system reports it, for picking the card's folders.
struct Volume {
    QString rootPath;        // "E:/" or "/media/user/CARD"
    bool removable = false;  // true where the system says so
    bool ready = true;
};

// The folders where a memory card may be found, from the mounted volumes.
// Windows: the drive of every ready volume as its letter and colon ("E:"),
// removable volumes first. Elsewhere: the root folders of ready volumes that
// are removable or mounted under a folder desktops use for removable media
// (/media, /run/media, /mnt, /Volumes).
QStringList cardFoldersRule(const std::vector<Volume>& volumes, PathStyle style);
QStringList cardFolders();

} // namespace vortan::platform
