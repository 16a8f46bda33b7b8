// The conversions between stored date and time digits and their display forms.

#include "db/stored_date_time.h"

#include <gtest/gtest.h>

using namespace vortan::db;

TEST(StoredDateTime, DateToStoredReadsSeparatorsErasAndTwoDigitYearsOrGivesNothing)
{
    EXPECT_EQ(DateToStored("2001/2/3"), "20010203");
    EXPECT_EQ(DateToStored("2001-12-31"), "20011231");
    EXPECT_EQ(DateToStored("2001.02.03"), "20010203");
    EXPECT_EQ(DateToStored("H12.4.1"), "20000401");     // Heisei 12
    EXPECT_EQ(DateToStored("89/12/31"), "20771231");    // below 90: an era year + 1988
    EXPECT_EQ(DateToStored("90/1/1"), "900101");        // 90 and above stay as written
    EXPECT_EQ(DateToStored("98/1/1"), "980101");
    EXPECT_EQ(DateToStored("2001/002/0003"), "20010203"); // only the last two digits count
    // What does not fit gives the empty text.
    EXPECT_EQ(DateToStored(""), "");
    EXPECT_EQ(DateToStored("20010203"), "");   // no separator
    EXPECT_EQ(DateToStored("2001/2"), "");     // one separator only
    EXPECT_EQ(DateToStored("2001-2/3"), "");   // "/" is the separator, and there is one
}

TEST(StoredDateTime, StoredDatesShowWithSlashes)
{
    EXPECT_EQ(StoredDateToDisplay(u"20051001"), "2005/10/01");
    EXPECT_EQ(StoredDateToDisplay(u""), "");

    // Dates of points and records, which may have lost leading zeros.
    QString five = "51001";
    EXPECT_EQ(ShortDateToDisplay(five), "2005/10/01");
    EXPECT_EQ(five, "20051001");   // the completed form goes back to the caller
    QString six = "051001";
    EXPECT_EQ(ShortDateToDisplay(six), "2005/10/01");
    QString four = "1001";
    EXPECT_EQ(ShortDateToDisplay(four), "2000/10/01");
    QString three = "101";
    EXPECT_EQ(ShortDateToDisplay(three), "2000/01/01");
    QString empty;
    EXPECT_EQ(ShortDateToDisplay(empty), "");
    EXPECT_EQ(empty, "");
}

TEST(StoredDateTime, TimesConvertBothWays)
{
    EXPECT_EQ(StoredTimeToDisplay(u"930"), "09:30");
    EXPECT_EQ(StoredTimeToDisplay(u"1150"), "11:50");
    EXPECT_EQ(StoredTimeToDisplay(u""), "");

    EXPECT_EQ(TimeToStored("9:5"), "0905");
    EXPECT_EQ(TimeToStored(" 9 : 5 "), "0905");
    EXPECT_EQ(TimeToStored("23:59"), "2359");
    EXPECT_EQ(TimeToStored("0:00"), "0000");
    EXPECT_EQ(TimeToStored("24:00"), "");
    EXPECT_EQ(TimeToStored("12:60"), "");
    EXPECT_EQ(TimeToStored("-1:10"), "");
    EXPECT_EQ(TimeToStored("1230"), "");   // no colon
}
