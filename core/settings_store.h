#pragma once
// The per-user settings store: one UTF-8 INI file of sections and keys holding
// text values, readable and editable by hand.
//
// File format:
//   [section]            a section header; blanks around the name are ignored
//   key = value          blanks around "=" and at the line's ends are ignored;
//                        keys may hold blanks and any characters but "=";
//                        a value with blanks at an end is written between
//                        double quotes, and one pair of quotes around a value
//                        is removed when reading
//   ; comment, # comment lines ignored, as are lines that are none of these
// Sections and keys are found without regard to letter case; when a key
// stands twice the last one counts. Lines before the first header belong to a
// section with an empty name.
//
// The store keeps every line it read: saving rewrites only the lines whose
// values changed and appends new keys at the end of their section, so hand
// edits, comments and keys the program does not know survive, and a file
// saved without changes is written back byte for byte.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vortan {

class SettingsStore {
public:
    // An empty store not tied to a file.
    SettingsStore() = default;
    // An empty store that loads from and saves to `filePath`.
    explicit SettingsStore(QString filePath);

    // Location of the settings file: `explicitPath` when given, else the
    // environment variable VORTAN_SETTINGS when set, else "Vortan/Vortan.ini"
    // in the platform's per-user configuration folder.
    static QString resolvePath(const QString& explicitPath = QString());

    // Store at resolvePath(explicitPath), loaded.
    static SettingsStore openAt(const QString& explicitPath = QString());

    const QString& filePath() const { return filePath_; }

    // Reads the file. A missing file gives an empty store. A file in UTF-16
    // (with its byte order mark) or in code page 932 is read as such and
    // saved in UTF-8 from then on; a file that is none of these, or UTF-8,
    // throws Failure 13 naming it, so that the program never runs on
    // defaults in its place. A folder or a device throws 52, a file that
    // cannot be read 57, one beyond 16 MB 9.
    void load();

    // Writes the file in place through a temporary file; throws Failure when
    // it cannot be written, leaving the old file whole.
    void save() const;

    // The file's content from bytes / as bytes (no file involved).
    void parse(QByteArrayView bytes);
    QByteArray serialize() const;

    // The value of a key, std::nullopt when the key is absent.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // The value of a key, or `defaultValue` when the key is absent.
    QString value(const QString& section, const QString& key, const QString& defaultValue) const;
    bool contains(const QString& section, const QString& key) const;

    // Sets a key, adding it (and its section) when absent. Line breaks in the
    // value cannot be stored in a line and are written as blanks. A key that
    // no line can hold (empty, holding "=", starting with "[", ";" or "#")
    // is not added.
    void setValue(const QString& section, const QString& key, const QString& value);

    // Section names in file order (each once) and the keys of a section.
    QStringList sections() const;
    QStringList keys(const QString& section) const;

private:
    struct Line {
        QByteArray raw;         // the line as read or rendered, without its end
        QByteArray ending;      // "\r\n", "\n", "\r" or empty for the last line
        enum class Kind { Other, Section, Entry } kind = Kind::Other;
        QString name;           // section name or key
        QString value;          // entry value
    };

    static Line parseLine(QByteArray raw, QByteArray ending);
    static QByteArray renderValue(const QString& value);
    // Index of the line holding the key (last one), or -1.
    int findEntry(const QString& section, const QString& key) const;
    QByteArray newLineEnding() const;

    QString filePath_;
    QByteArray byteOrderMark_;
    std::vector<Line> lines_;
};

} // namespace vortan
