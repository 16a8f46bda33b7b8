// The rounding of φ and the search of the bearing capacity factor table.

#include "calc/bearing_factors.h"
#include "core/bearing_factor_table.h"
#include "support/test_databases.h"

#include <gtest/gtest.h>

using namespace vortan;
using vortan::calc::BearingFactorTable;
using vortan::calc::roundPhi;

namespace {

BearingFactorRow row(const char* phi, const char* nc, const char* ng, const char* nq)
{
    return BearingFactorRow{QString::fromUtf8(phi), QString::fromUtf8(nc), QString::fromUtf8(ng),
                            QString::fromUtf8(nq)};
}

} // namespace

TEST(BearingFactors, RoundsPhiByTheRecordsMode)
{
    // Round up: ⌊10φ + 1⌋/10, so a value already on a tenth still moves up.
    EXPECT_DOUBLE_EQ(roundPhi(25.0, 0), 25.1);
    EXPECT_DOUBLE_EQ(roundPhi(25.05, 0), 25.1);
    EXPECT_DOUBLE_EQ(roundPhi(25.31, 0), 25.4);
    EXPECT_DOUBLE_EQ(roundPhi(25.3, 0), 25.4);
    // Truncate: ⌊10φ⌋/10.
    EXPECT_DOUBLE_EQ(roundPhi(25.0, 1), 25.0);
    EXPECT_DOUBLE_EQ(roundPhi(25.05, 1), 25.0);
    EXPECT_DOUBLE_EQ(roundPhi(25.99, 1), 25.9);
    // Half away from zero on the decimal text: 25.05 -> 25.1, 25.04 -> 25.0.
    EXPECT_DOUBLE_EQ(roundPhi(25.0, 2), 25.0);
    EXPECT_DOUBLE_EQ(roundPhi(25.05, 2), 25.1);
    EXPECT_DOUBLE_EQ(roundPhi(25.04, 2), 25.0);
    EXPECT_DOUBLE_EQ(roundPhi(0.05, 2), 0.1);   // "#.0" writes ".1"
}

TEST(BearingFactors, LaterRowWinsAndBeyondTheTableTakesTheFinalDataRow)
{
    const BearingFactorTable table({row("10.0", "8.3", "0.4", "2.5"), row("10.1", "8.33", "0.41", "2.52"),
                                    row("10.1", "9", "1", "3"), row("10.2", "8.4", "0.42", "2.55"),
                                    row("", "", "", "")});
    // 10.1 stands twice: the later row's factors.
    auto f = table.lookUpFactors(10.1, 1);
    EXPECT_DOUBLE_EQ(f.nc, 9);
    EXPECT_DOUBLE_EQ(f.ngamma, 1);
    EXPECT_DOUBLE_EQ(f.nq, 3);
    // Beyond the last angle (10.2; the empty line after it is no data row).
    f = table.lookUpFactors(12.7, 1);
    EXPECT_DOUBLE_EQ(f.nc, 8.4);
    EXPECT_DOUBLE_EQ(f.nq, 2.55);
    // Below the first angle and between rows: zeros.
    f = table.lookUpFactors(5.0, 1);
    EXPECT_DOUBLE_EQ(f.nc, 0);
    EXPECT_DOUBLE_EQ(f.nq, 0);
    // 10.2 rounded up is 10.3: no row, but 10.2 itself is not beyond the table.
    f = table.lookUpFactors(10.2, 0);
    EXPECT_DOUBLE_EQ(f.nc, 0);
    // Fields are read by their leading number.
    const BearingFactorTable loose({row("20deg", "14.8x", "2.9", "6.4 ")});
    EXPECT_DOUBLE_EQ(loose.lookUpFactors(20.0, 1).nc, 14.8);
    // An empty table gives zeros.
    EXPECT_DOUBLE_EQ(BearingFactorTable().lookUpFactors(30, 1).nc, 0);
}

TEST(BearingFactors, ShippedTableInterpolatesTheNoticeTable)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    std::vector<BearingFactorRow> rows;
    ASSERT_TRUE(LoadBearingFactorTable(files.folder(), rows));
    const BearingFactorTable table(rows);
    // 29.1° lies between 28° (25.8, 11.2, 14.7) and 32° (35.5, 22.0, 23.2):
    // 25.8 + 9.7·1.1/4 = 28.4675 -> 28.47; 11.2 + 10.8·1.1/4 = 14.17;
    // 14.7 + 8.5·1.1/4 = 17.0375 -> 17.04.
    auto f = table.lookUpFactors(29.1, 2);
    EXPECT_DOUBLE_EQ(f.nc, 28.47);
    EXPECT_DOUBLE_EQ(f.ngamma, 14.17);
    EXPECT_DOUBLE_EQ(f.nq, 17.04);
    // The table's own anchors.
    f = table.lookUpFactors(0.0, 1);
    EXPECT_DOUBLE_EQ(f.nc, 5.1);
    EXPECT_DOUBLE_EQ(f.nq, 1.0);
    // Beyond 40°: the factors of 40°.
    f = table.lookUpFactors(46.62, 1);
    EXPECT_DOUBLE_EQ(f.nc, 75.3);
    EXPECT_DOUBLE_EQ(f.ngamma, 93.7);
    EXPECT_DOUBLE_EQ(f.nq, 64.2);
}
