#include "core/text_lines.h"

namespace vortan::textlines {

namespace {

template <typename View>
QList<View> split(View all)
{
    QList<View> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    const qsizetype n = all.size();
    while (i < n) {
        const auto c = all[i];
        if (c == '\r' || c == '\n') {
            lines.append(all.sliced(start, i - start));
            i += (c == '\r' && i + 1 < n && all[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(all.sliced(start));
    return lines;
}

} // namespace

QList<QByteArrayView> splitLines(QByteArrayView bytes) { return split(bytes); }

QList<QStringView> splitLines(QStringView text) { return split(text); }

} // namespace vortan::textlines
