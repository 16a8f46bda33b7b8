#include "core/settings_store.h"

#include "core/atomic_file.h"
#include "core/cp932.h"
#include "core/failure.h"
#include "core/input_file.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace vortan {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmedView(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QString decode(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

constexpr qint64 MaxSettingsFileBytes = qint64(16) << 20;

// The settings text in UTF-8. A file saved by hand in another encoding is
// read as what it is: UTF-16 by its byte order mark, or code page 932 (as an
// editor on a Japanese system saves it) when it is not UTF-8; it is written
// back in UTF-8 at the next save. Nothing when it is none of these.
std::optional<QByteArray> settingsTextAsUtf8(const QByteArray& bytes)
{
    auto decodeWith = [](QStringDecoder::Encoding encoding, QByteArrayView text) -> std::optional<QString> {
        QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
        QString decoded = decoder.decode(text);
        if (decoder.hasError())
            return std::nullopt;
        return decoded;
    };
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const auto encoding = bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE;
        const std::optional<QString> text = decodeWith(encoding, QByteArrayView(bytes).sliced(2));
        if (!text || (bytes.size() % 2) != 0)
            return std::nullopt;
        return text->toUtf8();
    }
    if (decodeWith(QStringDecoder::Utf8, bytes))
        return bytes;
    const QString text = cp932::decode(bytes);
    if (text.contains(QChar(QChar::ReplacementCharacter)) || text.contains(QChar(0)))
        return std::nullopt;
    return text.toUtf8();
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

SettingsStore::SettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

QString SettingsStore::resolvePath(const QString& explicitPath)
{
    if (!explicitPath.isEmpty())
        return explicitPath;
    const QString fromEnvironment = qEnvironmentVariable("VORTAN_SETTINGS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder + QLatin1String("/Vortan/Vortan.ini");
}

SettingsStore SettingsStore::openAt(const QString& explicitPath)
{
    SettingsStore store(resolvePath(explicitPath));
    store.load();
    return store;
}

void SettingsStore::load()
{
    if (!QFile::exists(filePath_)) {
        parse({});
        return;
    }
    // A file that fails part way is not taken: half its keys would read as defaults.
    const inputfile::Kind kind{QStringLiteral("設定ファイル"), QDir::toNativeSeparators(filePath_),
                               MaxSettingsFileBytes};
    const QByteArray bytes = inputfile::readAll(filePath_, kind);
    const std::optional<QByteArray> utf8 = settingsTextAsUtf8(bytes);
    if (!utf8)
        throw Failure(err::TypeMismatch,
                      QStringLiteral("設定ファイル「%1」の文字コードを読み取れません。"
                                     "UTF-8、UTF-16（BOM付き）またはシフトJISで保存してください。")
                          .arg(QDir::toNativeSeparators(filePath_)),
                      QStringLiteral("LoadSettings"));
    parse(*utf8);
}

void SettingsStore::save() const
{
    writeFileAtomically(filePath_, serialize());
}

void SettingsStore::parse(QByteArrayView bytes)
{
    lines_.clear();
    byteOrderMark_.clear();
    static constexpr char bom[] = "\xEF\xBB\xBF";
    if (bytes.startsWith(QByteArrayView(bom, 3))) {
        byteOrderMark_ = QByteArray(bom, 3);
        bytes = bytes.sliced(3);
    }
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < size && bytes[next] == '\r')
            ++next;
        if (next < size && bytes[next] == '\n')
            ++next;
        lines_.push_back(parseLine(bytes.sliced(start, end - start).toByteArray(),
                                   bytes.sliced(end, next - end).toByteArray()));
        start = next;
    }
}

SettingsStore::Line SettingsStore::parseLine(QByteArray raw, QByteArray ending)
{
    Line line;
    const QByteArrayView text = trimmedView(raw);
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        if (close > 0) {
            line.kind = Line::Kind::Section;
            line.name = decode(trimmedView(text.sliced(1, close - 1)));
        }
    } else if (!text.isEmpty() && text[0] != ';' && text[0] != '#') {
        const qsizetype equals = text.indexOf('=');
        if (equals > 0) {
            const QByteArrayView key = trimmedView(text.first(equals));
            if (!key.isEmpty()) {
                line.kind = Line::Kind::Entry;
                line.name = decode(key);
                QByteArrayView value = trimmedView(text.sliced(equals + 1));
                if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                    value = value.sliced(1, value.size() - 2);
                line.value = decode(value);
            }
        }
    }
    line.raw = std::move(raw);
    line.ending = std::move(ending);
    return line;
}

QByteArray SettingsStore::renderValue(const QString& value)
{
    QString text = value;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const bool blankAtEnd = !text.isEmpty()
                            && (text.front() == QLatin1Char(' ') || text.front() == QLatin1Char('\t')
                                || text.back() == QLatin1Char(' ') || text.back() == QLatin1Char('\t'));
    const bool quoted = text.size() >= 2 && text.front() == QLatin1Char('"')
                        && text.back() == QLatin1Char('"');
    if (blankAtEnd || quoted)
        text = QLatin1Char('"') + text + QLatin1Char('"');
    return text.toUtf8();
}

QByteArray SettingsStore::serialize() const
{
    QByteArray out = byteOrderMark_;
    for (const Line& line : lines_) {
        out += line.raw;
        out += line.ending;
    }
    return out;
}

int SettingsStore::findEntry(const QString& section, const QString& key) const
{
    int found = -1;
    QString current;  // lines before the first header: the unnamed section
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Kind::Section)
            current = line.name;
        else if (line.kind == Line::Kind::Entry && sameName(current, section)
                 && sameName(line.name, key))
            found = i;
    }
    return found;
}

std::optional<QString> SettingsStore::value(const QString& section, const QString& key) const
{
    const int index = findEntry(section, key);
    if (index < 0)
        return std::nullopt;
    return lines_[index].value;
}

QString SettingsStore::value(const QString& section, const QString& key,
                             const QString& defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

bool SettingsStore::contains(const QString& section, const QString& key) const
{
    return findEntry(section, key) >= 0;
}

QByteArray SettingsStore::newLineEnding() const
{
    for (const Line& line : lines_) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
#ifdef Q_OS_WIN
    return QByteArrayLiteral("\r\n");
#else
    return QByteArrayLiteral("\n");
#endif
}

void SettingsStore::setValue(const QString& section, const QString& key, const QString& value)
{
    const QByteArray rendered = renderValue(value);
    const int index = findEntry(section, key);
    if (index >= 0) {
        Line& line = lines_[index];
        if (parseLine(QByteArrayLiteral("k=") + rendered, {}).value == line.value)
            return;  // unchanged: the line stays as written
        // Keep everything up to the blanks after "=" as the user wrote it.
        qsizetype cut = line.raw.indexOf('=') + 1;
        while (cut < line.raw.size() && isBlank(line.raw[cut]))
            ++cut;
        QByteArray raw = line.raw.left(cut) + rendered;
        line = parseLine(std::move(raw), line.ending);
        return;
    }

    const QByteArray ending = newLineEnding();
    Line entry = parseLine(key.toUtf8() + '=' + rendered, ending);
    if (entry.kind != Line::Kind::Entry || !sameName(entry.name, key))
        return;  // a key that cannot be written as a line ("=" inside, blank)

    // After the last entry of the last section of that name.
    int insertAt = -1;
    QString current;
    bool inSection = section.isEmpty();
    if (inSection)
        insertAt = 0;
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Kind::Section) {
            current = line.name;
            inSection = sameName(current, section);
            if (inSection)
                insertAt = i + 1;
        } else if (inSection && line.kind == Line::Kind::Entry) {
            insertAt = i + 1;
        }
    }
    if (!lines_.empty() && lines_.back().ending.isEmpty())
        lines_.back().ending = ending;
    if (insertAt >= 0) {
        lines_.insert(lines_.begin() + insertAt, std::move(entry));
        return;
    }
    if (!lines_.empty() && !trimmedView(lines_.back().raw).isEmpty())
        lines_.push_back(parseLine(QByteArray(), ending));
    lines_.push_back(parseLine('[' + section.toUtf8() + ']', ending));
    lines_.push_back(std::move(entry));
}

QStringList SettingsStore::sections() const
{
    QStringList names;
    auto add = [&names](const QString& name) {
        for (const QString& known : names) {
            if (sameName(known, name))
                return;
        }
        names.append(name);
    };
    bool beforeFirstHeader = true;
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Section) {
            beforeFirstHeader = false;
            add(line.name);
        } else if (beforeFirstHeader && line.kind == Line::Kind::Entry) {
            add(QString());
        }
    }
    return names;
}

QStringList SettingsStore::keys(const QString& section) const
{
    QStringList names;
    QString current;
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Section) {
            current = line.name;
        } else if (line.kind == Line::Kind::Entry && sameName(current, section)) {
            bool known = false;
            for (const QString& name : names)
                known = known || sameName(name, line.name);
            if (!known)
                names.append(line.name);
        }
    }
    return names;
}

} // namespace vortan
