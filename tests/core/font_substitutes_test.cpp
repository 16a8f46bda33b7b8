// The report fonts fall back to the IPA fonts where the original fonts are absent.

#include "core/font_substitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <gtest/gtest.h>

using namespace vortan;

TEST(FontSubstitutes, ReportFontsFallBackToTheIpaFonts)
{
    RegisterFontSubstitutes();
    EXPECT_TRUE(QFont::substitutes("ＭＳ Ｐゴシック").contains("IPAPGothic", Qt::CaseInsensitive));
    EXPECT_TRUE(QFont::substitutes("ＭＳ Ｐ明朝").contains("IPAPMincho", Qt::CaseInsensitive));
    EXPECT_TRUE(QFont::substitutes("ＭＳ ゴシック").contains("IPAGothic", Qt::CaseInsensitive));

    // Where the IPA fonts are installed, asking for the report font gives them.
    if (!QFontDatabase::families().contains("IPAPMincho", Qt::CaseInsensitive))
        GTEST_SKIP() << "fonts-ipafont is not installed";
    EXPECT_EQ(QFontInfo(QFont("ＭＳ Ｐ明朝")).family(), "IPAPMincho");
    EXPECT_EQ(QFontInfo(QFont("ＭＳ ゴシック")).family(), "IPAGothic");
}
