#include "intake/card_index.h"

#include "core/failure.h"

#include <algorithm>

namespace vortan::intake {

namespace {

constexpr std::size_t SiteSlots = 20;

const std::vector<std::int32_t> NoPairs;
const std::vector<std::uint32_t> NoRows;

} // namespace

std::uint64_t CardIndex::key(std::int16_t site, std::int32_t point)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint16_t>(site)) << 32)
        | static_cast<std::uint32_t>(point);
}

CardIndex::CardIndex(const CardTable& table)
{
    // The point each site's rows showed last, to find where its pairs change.
    std::unordered_map<std::int16_t, std::int32_t> lastPoint;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const CardRow& row = table[i];
        // The site slots start as 0, so a site number 0 counts as seen and
        // its rows are never listed.
        if (row.site == 0)
            continue;
        const auto last = lastPoint.find(row.site);
        if (last == lastPoint.end()) {
            if (sites_.size() == SiteSlots)
                throw Failure(carderr::TooManySites,
                              QStringLiteral("カードファイルに現場Noが21種類以上あります（20種類まで読み込めます）。"),
                              QStringLiteral("CardFile"));
            sites_.push_back(row.site);
            lastPoint.emplace(row.site, row.point);
            pairs_[row.site].push_back(row.point);
        } else if (last->second != row.point) {
            last->second = row.point;
            pairs_[row.site].push_back(row.point);
        }
        rows_[key(row.site, row.point)].push_back(static_cast<std::uint32_t>(i));
    }
}

const std::vector<std::int32_t>& CardIndex::pairsOfSite(std::int16_t site) const
{
    const auto found = pairs_.find(site);
    return found == pairs_.end() ? NoPairs : found->second;
}

const std::vector<std::uint32_t>& CardIndex::rowsOf(std::int16_t site, std::int32_t point) const
{
    const auto found = rows_.find(key(site, point));
    return found == rows_.end() ? NoRows : found->second;
}

} // namespace vortan::intake
