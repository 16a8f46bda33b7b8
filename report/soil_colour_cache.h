#pragma once
// Soil colours from the soil master, looked up once per soil and run:
// "SELECT mst土質.表示色 FROM mst土質 WHERE mst土質.土質名 = '...';".
// A soil without a row (or without a database) is black.

#include "report/colour_number.h"
#include "report/text_hash.h"

#include <QString>
#include <unordered_map>

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
    std::unordered_map<QString, ColourNumber, TextHash> colours_;   // asked for on every row
    int queries_ = 0;
};

} // namespace vortan::report
