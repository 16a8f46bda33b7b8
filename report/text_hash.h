#pragma once
// A plain hash of a text's code units for the report's lookup tables: the
// texts of a report page are short cell values, looked up once or twice for
// every cell, where a plain hash is quicker than QHash's seeded one.

#include <QString>
#include <cstddef>

namespace vortan::report {

struct TextHash {
    std::size_t operator()(const QString& text) const noexcept
    {
        std::size_t hash = 14695981039346656037ull;
        for (const QChar c : text) {
            hash ^= c.unicode();
            hash *= 1099511628211ull;
        }
        return hash;
    }
};

} // namespace vortan::report
