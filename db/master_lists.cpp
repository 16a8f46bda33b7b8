#include "db/master_lists.h"

#include "db/database.h"
#include "db/record_set.h"

namespace vortan::db {

namespace {

struct ListQuery {
    const char* sql;
    const char* column;
};

ListQuery queryOf(MasterList which)
{
    switch (which) {
    case MasterList::Soil:
        return {"select mst土質.* from mst土質 ORDER BY xNo ;", "土質名"};
    case MasterList::Weather:
        return {"select mst天候.* from mst天候;", "天候名"};
    case MasterList::AddressLabel:
        return {"select mst住所.* from mst住所;", "住所"};
    case MasterList::Purpose:
        return {"select mst調査目的.* from mst調査目的;", "調査目的"};
    case MasterList::SiteRemark:
        return {"select mst調査地区記事.* from mst調査地区記事;", "記事"};
    case MasterList::Name:
        return {"select mst姓名.* from mst姓名;", "姓名"};
    case MasterList::PointRemark:
        return {"select mst測点記事.* from mst測点記事;", "記事"};
    case MasterList::RecordRemark:
        return {"select mst測点データ記事.* from mst測点データ記事;", "記事"};
    case MasterList::Customer:
        return {"select mst得意先.得意先名 from mst得意先;", "得意先名"};
    }
    return {"", ""};
}

} // namespace

QStringList& MasterLists::list(MasterList which)
{
    switch (which) {
    case MasterList::Soil: return soil;
    case MasterList::Weather: return weather;
    case MasterList::AddressLabel: return addressLabel;
    case MasterList::Purpose: return purpose;
    case MasterList::SiteRemark: return siteRemark;
    case MasterList::Name: return name;
    case MasterList::PointRemark: return pointRemark;
    case MasterList::RecordRemark: return recordRemark;
    case MasterList::Customer: return customer;
    }
    return soil;
}

const QStringList& MasterLists::list(MasterList which) const
{
    return const_cast<MasterLists*>(this)->list(which);
}

void LoadMasterList(Database& db, MasterLists& lists, MasterList which)
{
    QStringList& target = lists.list(which);
    // Element 0 holds no entry; the list is reset first so that a failing
    // query leaves it empty rather than half old.
    target = QStringList{QString()};

    const ListQuery query = queryOf(which);
    RecordSet rows = db.openRecordSet(QString::fromUtf8(query.sql));
    const QString column = QString::fromUtf8(query.column);
    if (rows.recordCount() > 0) {
        rows.moveFirst();
        while (!rows.eof()) {
            target.append(rows.field(column).toText());
            rows.moveNext();
        }
    }
    rows.close();
}

void RefreshMasterLists(Database& db, MasterLists& lists)
{
    for (MasterList which : {MasterList::Name, MasterList::Customer, MasterList::Weather,
                             MasterList::Purpose, MasterList::SiteRemark, MasterList::PointRemark,
                             MasterList::RecordRemark, MasterList::Soil})
        LoadMasterList(db, lists, which);
}

void FillCombo(ComboTarget& box, const QStringList& list)
{
    box.clear();
    for (qsizetype i = 1; i < list.size(); ++i)
        box.addItem(list.at(i));
}

} // namespace vortan::db
