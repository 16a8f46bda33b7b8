#pragma once
// The queries of the address picker on the postal table 〒: the prefectures,
// the cities of a prefecture, the towns of a city and the sub-areas of a
// town, each distinct and in name order, and the address composed from the
// four choices.
//
// A chosen name stands in a query between double quotes, an embedded double
// quote doubled, so that no name typed into a list can break the statement.

#include <QString>
#include <QStringList>

namespace vortan::db {
class Database;
}

namespace vortan::sheet {

QString 都道府県Query();
QString 市区町村Query(const QString& 都道府県名);
QString 町域Query(const QString& 都道府県名, const QString& 市区町村名);
QString 域名Query(const QString& 都道府県名, const QString& 市区町村名, const QString& 町域名);

// Runs one of the queries and returns the first column of every row in the
// order returned (a Null as empty text). Throws Failure.
QStringList postalValues(db::Database& postal, const QString& query);

// The address: the four names joined with nothing between them.
QString composeAddress(const QString& 都道府県名, const QString& 市区町村名, const QString& 町域名,
                       const QString& 域名);

} // namespace vortan::sheet
