#include "sheet/survey_layout.h"

namespace vortan::sheet {

const std::array<HeaderFieldInfo, HeaderFieldCount>& HeaderFields()
{
    using F = HeaderField;
    using L = db::MasterLists;
    static const std::array<HeaderFieldInfo, HeaderFieldCount> fields = {{
        {F::調査地区No, u"調査地区No", u"txt_調査地区No", u"調査地区No", 11, nullptr},
        {F::現場名, u"現場名", u"txt_現場名", u"現場名", 100, nullptr},
        {F::住所, u"住所", u"txt_住所", u"住所", 100, nullptr},
        {F::調査目的, u"調査目的", u"cmb_調査目的", u"調査目的", 50, &L::purpose},
        {F::調査責任者, u"調査責任者", u"cmb_調査責任者", u"調査責任者", 20, &L::name},
        {F::調査者, u"調査者", u"cmb_調査者", u"調査者", 20, &L::name},
        {F::開始時刻, u"調査開始時刻", u"txt_開始時刻", u"開始時刻", 19, nullptr},
        {F::終了時刻, u"調査終了時刻", u"txt_終了時刻", u"終了時刻", 19, nullptr},
        {F::調査日, u"調査日", u"txt_調査日", u"調査日", 19, nullptr},
        {F::天候, u"天候", u"cmb_天候", u"天候", 30, &L::weather},
        {F::標高, u"標高", u"txt_標高", u"標高", 20, nullptr},
        {F::提出先, u"得意先名", u"cmb_提出先", u"提出先", 50, &L::customer},
        {F::調査地区記事, u"記事", u"cmb_調査地区記事", u"記事", 100, &L::siteRemark},
    }};
    return fields;
}

const HeaderFieldInfo& headerFieldInfo(HeaderField field)
{
    return HeaderFields()[static_cast<std::size_t>(field)];
}

QString headerControlName(HeaderField field)
{
    return QString::fromUtf16(headerFieldInfo(field).controlName);
}

bool isHeaderList(HeaderField field)
{
    return headerFieldInfo(field).list != nullptr;
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
