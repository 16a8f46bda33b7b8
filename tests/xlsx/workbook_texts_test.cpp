// The texts the workbook hands to libxlsxwriter, checked against Excel's
// limits: sheet names, cell texts, page headers, and the file name the
// export proposes.

#include "support/qstring_printer.h"
#include "xlsx/column_widths.h"
#include "xlsx/sheet_names.h"
#include "xlsx/workbook_file_name.h"
#include "xlsx/workbook_writer.h"

#include <gtest/gtest.h>

using namespace vortan::xlsx;

TEST(WorkbookTexts, SheetNamesAreAcceptableAndUnique)
{
    const QString thirtyOne(31, u'測');
    // An emoji takes two UTF-16 units: the cut must not split it.
    const QString emojiAtCut = QString(30, u'x') + QStringLiteral("😀") + QStringLiteral("y");
    struct Case {
        QString wanted;
        QString expected;
    };
    const std::vector<Case> cases{
        {QStringLiteral("調査概要"), QStringLiteral("調査概要")},
        {QStringLiteral("全測点"), QStringLiteral("全測点")},
        {QStringLiteral("A/1"), QStringLiteral("A_1")},
        {QStringLiteral("A:1"), QStringLiteral("A_1 (2)")},          // alike once sanitised
        {QStringLiteral("a_1"), QStringLiteral("a_1 (3)")},          // letter case does not tell names apart
        {QStringLiteral("[*?]"), QStringLiteral("____")},
        {QStringLiteral("'1'"), QStringLiteral("_1_")},
        {QStringLiteral("\\\\"), QStringLiteral("__")},
        {QStringLiteral("調査概要"), QStringLiteral("調査概要 (2)")},  // a point named like a fixed sheet
        {QStringLiteral(" \t"), QStringLiteral("測点")},              // nothing left: the fallback
        {QString(), QStringLiteral("測点 (2)")},
        {QStringLiteral("History"), QStringLiteral("History (2)")},  // reserved by Excel
        {thirtyOne + QStringLiteral("超"), thirtyOne},
        {thirtyOne, QString(27, u'測') + QStringLiteral(" (2)")},     // the suffix stays within 31
        {emojiAtCut, QString(30, u'x')},
        {QStringLiteral("R1C1"), QStringLiteral("R1C1")},
    };
    SheetNames names;
    for (const Case& c : cases) {
        const QString name = names.claim(c.wanted, u"測点");
        EXPECT_EQ(name, c.expected) << c.wanted.toStdString();
        EXPECT_LE(name.size(), MaxSheetNameLength);
    }
}

TEST(WorkbookTexts, CellAndHeaderTextsStayWithinExcelsLimits)
{
    EXPECT_EQ(cellText(QStringLiteral("a\u0001b\tc\nd\u007f")), QByteArray("ab\tc\nd"));
    EXPECT_EQ(QString::fromUtf8(cellText(QString(40000, u'字'))).size(), MaxCellTextLength);
    EXPECT_EQ(cellText(QStringLiteral("ab😀"), 3), QByteArray("ab"));

    EXPECT_EQ(headerFooterText(QStringLiteral("A&B")), QStringLiteral("A&&B"));
    EXPECT_EQ(headerFooterText(QString(300, u'&')).size(), 254);   // never half an "&&"
    EXPECT_EQ(headerFooterText(QStringLiteral("ab😀"), 3), QStringLiteral("ab"));
}

TEST(WorkbookTexts, ProposedFileNamesHoldNoCharacterFileNamesRefuse)
{
    const std::vector<std::array<QString, 3>> cases{
        {QStringLiteral("12"), QStringLiteral("青葉台三丁目"), QStringLiteral("12_青葉台三丁目.xlsx")},
        {QStringLiteral("12"), QStringLiteral("A/B\\C:D*E?F\"G<H>I|J"), QStringLiteral("12_A_B_C_D_E_F_G_H_I_J.xlsx")},
        {QStringLiteral("12"), QStringLiteral("現場. "), QStringLiteral("12_現場.xlsx")},
        {QStringLiteral("12"), QStringLiteral("改\n行\t"), QStringLiteral("12_改_行.xlsx")},
        {QStringLiteral(" 7 "), QString(), QStringLiteral("7.xlsx")},
    };
    for (const auto& [number, site, expected] : cases)
        EXPECT_EQ(proposedWorkbookFileName(number, site), expected);
}

TEST(WorkbookTexts, WideCharactersTakeTwoDigitsOfWidth)
{
    EXPECT_EQ(textWidth(u"12.50"), 5);
    EXPECT_EQ(textWidth(u"砂質土"), 6);
    EXPECT_EQ(textWidth(u"ｶﾅ"), 2);              // half-width katakana
    EXPECT_EQ(textWidth(u"Ａ😀"), 4);
    EXPECT_EQ(textWidth(u"長い行\nab"), 6);
    ColumnWidths widths(1);
    EXPECT_EQ(widths.width(0), 6);
    widths.fit(0, QString(100, u'x'));
    EXPECT_EQ(widths.width(0), 60);
}
