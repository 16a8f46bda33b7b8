#pragma once
// The rows of a card table grouped once by site and point, so that listing
// the runs and storing them visit each row a fixed number of times rather
// than once per point of the card.

#include "intake/card_file.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vortan::intake {

class CardIndex {
public:
    // Walks the table once. A 21st distinct site number throws
    // carderr::TooManySites, as the listing's table of 20 site slots does.
    explicit CardIndex(const CardTable& table);

    // Site numbers in order of first appearance; site 0 is never among them.
    const std::vector<std::int16_t>& sites() const { return sites_; }

    // The point pairs of a site: its rows in file order start a new pair at
    // every change of point, so a point interrupted by another gives two.
    const std::vector<std::int32_t>& pairsOfSite(std::int16_t site) const;

    // The positions in the table of the rows of a site and point, file order.
    const std::vector<std::uint32_t>& rowsOf(std::int16_t site, std::int32_t point) const;

private:
    static std::uint64_t key(std::int16_t site, std::int32_t point);

    std::vector<std::int16_t> sites_;
    std::unordered_map<std::int16_t, std::vector<std::int32_t>> pairs_;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> rows_;
};

} // namespace vortan::intake
