#pragma once
// What a report drew on one page, one primitive a line in drawing order
// (kind, millimetres to the hundredth, line width, text with its font and
// alignment), for comparison with a reviewed golden file of that page.

#include <QString>

namespace vortan::report {
class RecordingSurface;
}

namespace vortan::test {

QString pageListing(const report::RecordingSurface& surface, int page);

} // namespace vortan::test
