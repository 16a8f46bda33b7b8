#pragma once
// The master lists that feed the selection boxes, held in memory. Each list
// holds an empty element 0 and the values at 1..n in the order the query
// returned them (the soil list in xNo order); a Null is held as empty text.

#include <QString>
#include <QStringList>

namespace vortan::db {

class Database;

enum class MasterList {
    Soil,          // mst土質.土質名, ORDER BY xNo
    Weather,       // mst天候.天候名
    AddressLabel,  // mst住所.住所
    Purpose,       // mst調査目的.調査目的
    SiteRemark,    // mst調査地区記事.記事
    Name,          // mst姓名.姓名
    PointRemark,   // mst測点記事.記事
    RecordRemark,  // mst測点データ記事.記事
    Customer,      // mst得意先.得意先名
};

struct MasterLists {
    QStringList soil{QString()};
    QStringList weather{QString()};
    QStringList addressLabel{QString()};
    QStringList purpose{QString()};
    QStringList siteRemark{QString()};
    QStringList name{QString()};
    QStringList pointRemark{QString()};
    QStringList recordRemark{QString()};
    QStringList customer{QString()};

    QStringList& list(MasterList which);
    const QStringList& list(MasterList which) const;
};

// Refills one list with its query.
void LoadMasterList(Database& db, MasterLists& lists, MasterList which);

// Refills, in this order, the name, customer, weather, purpose, site-remark,
// point-remark, record-remark and soil lists (not the address-label list).
void RefreshMasterLists(Database& db, MasterLists& lists);

// A selection box as the store sees it: emptied, then given entries in order.
class ComboTarget {
public:
    virtual ~ComboTarget() = default;
    virtual void clear() = 0;
    virtual void addItem(const QString& text) = 0;
};

// Empties the box and adds the list's entries 1..n in order.
void FillCombo(ComboTarget& box, const QStringList& list);

} // namespace vortan::db
