#pragma once
// Output compared with a reviewed golden file in tests/fixtures/golden/.

#include <QString>
#include <gtest/gtest.h>

namespace vortan::test {

// Compares `actual` with the golden file `name`; with VORTAN_UPDATE_GOLDEN set
// in the environment the file is written instead (review its diff before
// committing).
::testing::AssertionResult matchesGolden(const QString& name, const QString& actual);

} // namespace vortan::test
