#pragma once
// Soil colours from the soil master, looked up once per soil and run:
// "SELECT mst土質.表示色 FROM mst土質 WHERE mst土質.土質名 = '...';".
// A soil without a row (or without a database) is black.

#include "report/colour_number.h"

#include <QHash>
#include <QString>

namespace vortan::db {
class Database;
}

namespace vortan::report {

class SoilColourCache {
public:
    explicit SoilColourCache(db::Database* database);

    // Throws Failure when the query fails.
    ColourNumber colourOf(const QString& soil);
    int queries() const { return queries_; }

private:
    db::Database* database_;
    QHash<QString, ColourNumber> colours_;
    int queries_ = 0;
};

} // namespace vortan::report
