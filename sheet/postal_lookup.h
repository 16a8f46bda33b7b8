#pragma once
// The queries of the address picker on the postal table 〒: the prefectures,
// the cities of a prefecture, the towns of a city and the sub-areas of a
// town, each distinct. Prefectures come in the national code order (北海道
// to 沖縄県); cities, towns and sub-areas in the order of their codes when
// the table carries it (the column 表示順 of the shipped table), otherwise in
// name order.
//
// A chosen name stands in a query between double quotes, an embedded double
// quote doubled, so that no name typed into a list can break the statement.

#include <QString>
#include <QStringList>

namespace vortan::db {
class Database;
}

namespace vortan::sheet {

// The 47 prefectures in the order of their national codes, 01 to 47.
const QStringList& PrefecturesInCodeOrder();
// `names` in prefecture code order; names that are no prefecture follow in
// the order given.
QStringList inPrefectureCodeOrder(const QStringList& names);

// Does the postal table carry the code order (its column 表示順)? Throws Failure.
bool hasPostalCodeOrder(db::Database& postal);

QString 都道府県Query();
QString 市区町村Query(const QString& 都道府県名, bool inCodeOrder);
QString 町域Query(const QString& 都道府県名, const QString& 市区町村名, bool inCodeOrder);
QString 域名Query(const QString& 都道府県名, const QString& 市区町村名, const QString& 町域名, bool inCodeOrder);

// Runs one of the queries and returns the first column of every row in the
// order returned (a Null as empty text). Throws Failure.
QStringList postalValues(db::Database& postal, const QString& query);

// The address: the four names joined with nothing between them.
QString composeAddress(const QString& 都道府県名, const QString& 市区町村名, const QString& 町域名,
                       const QString& 域名);

} // namespace vortan::sheet
