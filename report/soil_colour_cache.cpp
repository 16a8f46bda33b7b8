#include "report/soil_colour_cache.h"

#include "db/database.h"
#include "db/record_set.h"

namespace vortan::report {

SoilColourCache::SoilColourCache(db::Database* database) : database_(database) {}

ColourNumber SoilColourCache::colourOf(const QString& soil)
{
    const auto found = colours_.find(soil);
    if (found != colours_.end())
        return found->second;
    ColourNumber colour = Black;
    if (database_) {
        ++queries_;
        db::RecordSet rows = database_->openRecordSet(
            QStringLiteral("SELECT mst土質.表示色 FROM mst土質 WHERE mst土質.土質名 = '") + db::quoted(soil)
            + QStringLiteral("';"));
        if (!rows.eof()) {
            rows.moveFirst();
            const db::Value& value = rows.field(0);
            if (!value.isNull())
                colour = static_cast<ColourNumber>(static_cast<std::int64_t>(value.toNumber())) & 0xFFFFFFu;
        }
        rows.close();
    }
    colours_.emplace(soil, colour);
    return colour;
}

} // namespace vortan::report
