#include "core/bearing_factor_table.h"

#include "core/cp932.h"
#include "core/file_devices.h"
#include "core/platform.h"
#include "core/text_lines.h"

#include <QFile>

namespace vortan {

namespace {

QString fieldText(QStringView field)
{
    field = field.trimmed();
    if (field.size() >= 2 && field.front() == QLatin1Char('"') && field.back() == QLatin1Char('"'))
        field = field.sliced(1, field.size() - 2);
    return field.toString();
}

} // namespace

std::vector<BearingFactorRow> parseBearingFactorTable(QByteArrayView bytes)
{
    std::vector<BearingFactorRow> rows;
    const QString text = cp932::decode(bytes);
    for (const QStringView line : textlines::splitLines(text)) {
        if (line.trimmed().isEmpty())
            continue;

        QString fields[4];
        qsizetype fieldStart = 0;
        for (int i = 0; i < 4 && fieldStart <= line.size(); ++i) {
            qsizetype comma = line.indexOf(QLatin1Char(','), fieldStart);
            if (comma < 0)
                comma = line.size();
            fields[i] = fieldText(line.sliced(fieldStart, comma - fieldStart));
            fieldStart = comma + 1;
        }
        rows.push_back(BearingFactorRow{fields[0], fields[1], fields[2], fields[3]});
    }
    return rows;
}

bool LoadBearingFactorTable(const QString& settingsFolder, std::vector<BearingFactorRow>& table)
{
    const std::unique_ptr<QFile> file =
        filedevices::readDevice(platform::joinPath(settingsFolder, QString::fromLatin1(BearingFactorFileName)));
    if (!file->open(QIODevice::ReadOnly))
        return false;
    // A read that fails part way keeps the old rows rather than half a table.
    const QByteArray bytes = filedevices::readToEnd(*file);
    if (file->error() != QFileDevice::NoError)
        return false;
    table = parseBearingFactorTable(bytes);
    return true;
}

} // namespace vortan
