#pragma once
// The fields and grid columns of the data sheet: the header fields of a
// survey, the seven columns of the points grid and the nine columns of a
// data grid. Columns are numbered from 1, as the grids number them.

#include "db/master_lists.h"

#include <QString>
#include <QStringList>
#include <array>

namespace vortan::sheet {

enum class HeaderField {
    調査地区No,
    現場名,
    住所,
    調査目的,
    調査責任者,
    調査者,
    開始時刻,
    終了時刻,
    調査日,
    天候,
    標高,
    提出先,
    調査地区記事,
};
inline constexpr int HeaderFieldCount = 13;

// What is known of one header field: the column of 調査地区 it is stored in,
// the control that shows it ("txt_調査地区No"; "cmb_..." for a list with free
// text), the label beside the control, the longest text it takes (the list
// fields as the header lists have always been limited, the text fields by
// their columns) and the master list the control offers (null for a plain
// text box).
struct HeaderFieldInfo {
    HeaderField field;
    const char16_t* column;
    const char16_t* controlName;
    const char16_t* label;
    int maxLength;
    QStringList db::MasterLists::*list;
};

// One entry per field, in the order of HeaderField.
const std::array<HeaderFieldInfo, HeaderFieldCount>& HeaderFields();
const HeaderFieldInfo& headerFieldInfo(HeaderField field);

QString headerControlName(HeaderField field);
// True for the fields shown as a list with free text (cmb_...).
bool isHeaderList(HeaderField field);

struct PointColumn {
    static constexpr int 測点No表記 = 1;
    static constexpr int 地盤高 = 2;
    static constexpr int 地下水位 = 3;
    static constexpr int 記事 = 4;
    static constexpr int 印刷 = 5;
    static constexpr int 開始日時 = 6;
    static constexpr int 終了日時 = 7;
    static constexpr int Count = 7;
};

struct RecordColumn {
    static constexpr int 貫入長 = 1;
    static constexpr int 打撃回数 = 2;
    static constexpr int トルク = 3;
    static constexpr int 推定土質 = 4;
    static constexpr int 記事 = 5;
    static constexpr int 補正値 = 6;
    static constexpr int 補正打撃回数 = 7;
    static constexpr int 換算支持力 = 8;
    static constexpr int 日時キー = 9;   // hidden: stored date "_" start time "_" end time
    static constexpr int Count = 9;
};

// Column headings of the two grids ("測点No表記", ..., "換算支持力 qa"); the
// hidden key column has an empty heading.
QString pointColumnHeader(int column);
QString recordColumnHeader(int column);
// Heading of the points grid's row header column.
inline QString pointRowHeaderTitle() { return QStringLiteral("測点No"); }

// The check-box texts of the print column.
inline QString checkedText() { return QStringLiteral("1"); }
inline QString uncheckedText() { return QStringLiteral("0"); }

} // namespace vortan::sheet
