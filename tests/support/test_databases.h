#pragma once
// Copies of the shipped default files for tests: the survey database, the
// postal database, rqtbl.csv and qaTbl.tbl are copied from the program folder
// of the build into a temporary folder that lives as long as the object, and
// a settings file pointing at those copies can be written beside them.

#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace vortan::test {

// The program folder of the build, where the shipped default files lie.
QString programFolder();

// Path of a file in the program folder ("VORTAN.MDB", "vortan-cli", ...).
QString programFile(const QString& name);

// Copies `source` to `target` and makes the copy writable; false on failure.
bool copyWritable(const QString& source, const QString& target);

class ShippedFilesCopy {
public:
    // Copies the four default files; check isValid() (or use ASSERT_TRUE on it).
    ShippedFilesCopy();

    bool isValid() const { return valid_; }
    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    QString surveyDatabase() const { return path(QStringLiteral("VORTAN.MDB")); }
    QString postalDatabase() const { return path(QStringLiteral("Yuubin.MDB")); }
    QString bearingFactorTable() const { return path(QStringLiteral("rqtbl.csv")); }
    QString qaParameterFile() const { return path(QStringLiteral("qaTbl.tbl")); }

    // Writes "settings.ini" in the folder: section etc with データ位置, 住所位置
    // and ini位置 pointing at the copies, plus `extra` entries given as
    // "section/key" -> value (an entry for one of the three paths replaces it).
    // Returns the path of the written file.
    QString writeSettingsFile(const QMap<QString, QString>& extra = {}) const;

private:
    QTemporaryDir dir_;
    bool valid_ = false;
};

// Writes a settings file through the program's settings store: "section/key"
// -> value, in the given order. False when the file cannot be written.
bool writeSettingsFile(const QString& path, const QList<QPair<QString, QString>>& entries);

// Fills page `page` of a database file (1-based; negative counts from the
// end, -1 being the last) with bytes that are no page of any kind; the file
// header at the start of page 1 stays. False when the file cannot be written.
bool breakDatabasePage(const QString& path, int page);

} // namespace vortan::test
