#include "core/graph_type_file.h"

#include "core/atomic_file.h"
#include "core/cp932.h"
#include "core/failure.h"
#include "core/file_devices.h"
#include "core/number_text.h"
#include "core/platform.h"
#include "core/text_lines.h"

#include <QFile>
#include <cmath>

namespace vortan {

namespace {

int graphKindOf(QStringView line)
{
    double value = 0;
    try {
        value = numtext::roundHalfEven(numtext::leadingNumber(line));
    } catch (const Failure&) {
        return 0;   // a number beyond the double range ("1E999") is no graph kind either
    }
    if (!std::isfinite(value) || value < -32768.0 || value > 32767.0)
        return 0;
    return static_cast<int>(value);
}

} // namespace

void readGraphTypeFile(const QString& settingsFolder, ProgramState& state)
{
    const std::unique_ptr<QFile> file =
        filedevices::readDevice(platform::joinPath(settingsFolder, QString::fromLatin1(GraphTypeFileName)));
    QByteArray bytes;
    if (file->open(QIODevice::ReadOnly))
        bytes = filedevices::readToEnd(*file);
    if (!file->isOpen() || file->error() != QFileDevice::NoError) {
        // Unreadable, even part way: the defaults, not half a file.
        state.graphKind = 0;
        state.settings.Nd値表示 = true;
        state.settings.Qa値表示 = false;
        return;
    }
    const QString text = cp932::decode(bytes);
    const QList<QStringView> lines = textlines::splitLines(text);
    state.graphKind = lines.isEmpty() ? 0 : graphKindOf(lines[0]);
    if (lines.size() >= 2) {
        const bool nd = lines[1] == QLatin1String("1");
        state.settings.Nd値表示 = nd;
        state.settings.Qa値表示 = !nd;
    }
    if (lines.size() >= 3)
        state.graphDataName = lines[2].toString();
}

void writeGraphTypeFile(const QString& settingsFolder, const ProgramState& state)
{
    const QString text = QString::number(state.graphKind) + QLatin1String("\r\n")
                         + (state.settings.Nd値表示 ? QLatin1String("1") : QLatin1String("2"))
                         + QLatin1String("\r\n") + state.graphDataName + QLatin1String("\r\n");
    writeFileAtomically(platform::joinPath(settingsFolder, QString::fromLatin1(GraphTypeFileName)),
                        cp932::encode(text));
}

} // namespace vortan
