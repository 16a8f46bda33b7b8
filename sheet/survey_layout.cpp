#include "sheet/survey_layout.h"

namespace vortan::sheet {

QString headerControlName(HeaderField field)
{
    switch (field) {
    case HeaderField::調査地区No: return QStringLiteral("txt_調査地区No");
    case HeaderField::現場名: return QStringLiteral("txt_現場名");
    case HeaderField::住所: return QStringLiteral("txt_住所");
    case HeaderField::調査目的: return QStringLiteral("cmb_調査目的");
    case HeaderField::調査責任者: return QStringLiteral("cmb_調査責任者");
    case HeaderField::調査者: return QStringLiteral("cmb_調査者");
    case HeaderField::開始時刻: return QStringLiteral("txt_開始時刻");
    case HeaderField::終了時刻: return QStringLiteral("txt_終了時刻");
    case HeaderField::調査日: return QStringLiteral("txt_調査日");
    case HeaderField::天候: return QStringLiteral("cmb_天候");
    case HeaderField::標高: return QStringLiteral("txt_標高");
    case HeaderField::提出先: return QStringLiteral("cmb_提出先");
    case HeaderField::調査地区記事: return QStringLiteral("cmb_調査地区記事");
    }
    return QString();
}

bool isHeaderList(HeaderField field)
{
    return headerControlName(field).startsWith(QStringLiteral("cmb_"));
}

QString pointColumnHeader(int column)
{
    static const std::array<const char16_t*, PointColumn::Count> headers = {
        u"測点No表記", u"地盤高", u"地下水位", u"記事", u"印刷", u"開始日時", u"終了日時"};
    if (column < 1 || column > PointColumn::Count)
        return QString();
    return QString::fromUtf16(headers[static_cast<std::size_t>(column - 1)]);
}

QString recordColumnHeader(int column)
{
    static const std::array<const char16_t*, RecordColumn::Count> headers = {
        u"貫入長", u"打撃回数", u"トルク", u"推定土質", u"記事",
        u"補正値 ⊿Nd", u"補正打撃回数 Nd", u"換算支持力 qa", u""};
    if (column < 1 || column > RecordColumn::Count)
        return QString();
    return QString::fromUtf16(headers[static_cast<std::size_t>(column - 1)]);
}

} // namespace vortan::sheet
