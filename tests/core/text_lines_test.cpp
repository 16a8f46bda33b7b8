// Splitting file bytes and texts into lines at CR LF, lone CR and lone LF.

#include "core/cp932.h"
#include "core/text_lines.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace vortan;

namespace {

QList<QByteArray> byteLines(QByteArrayView bytes)
{
    QList<QByteArray> out;
    for (QByteArrayView line : textlines::splitLines(bytes))
        out.append(line.toByteArray());
    return out;
}

QStringList textLines(QStringView text)
{
    QStringList out;
    for (QStringView line : textlines::splitLines(text))
        out.append(line.toString());
    return out;
}

struct LinesCase {
    const char* input;
    QList<QByteArray> lines;
};

} // namespace

TEST(TextLines, SplitsAtEveryKindOfLineEnd)
{
    const LinesCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},                  // a final terminator adds no empty line
        {"a\r\nb", {"a", "b"}},            // the last line counts without one
        {"a\rb\nc\r\n", {"a", "b", "c"}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},        // LF then CR: two line ends
        {"a\r\r\nb", {"a", "", "b"}},
        {"header\r\n1,2,3\r\n4,5,6", {"header", "1,2,3", "4,5,6"}},
        {" a \r\n\tb", {" a ", "\tb"}},    // blanks belong to the line
    };
    for (const LinesCase& c : cases) {
        EXPECT_EQ(byteLines(QByteArrayView(c.input)), c.lines) << c.input;
        QStringList expectedText;
        for (const QByteArray& line : c.lines)
            expectedText.append(QString::fromLatin1(line));
        EXPECT_EQ(textLines(QString::fromLatin1(c.input)), expectedText) << c.input;
    }
}

TEST(TextLines, LinesAreViewsIntoTheBufferWithTheirByteLengths)
{
    // The exchange reader advances its progress by the bytes of each line in
    // the code page, line end excluded: "～" and "測点" are two bytes a
    // character, "ｱ" one.
    const QByteArray file = cp932::encode(u"～\r\n測点ｱ\r\n12");
    const QList<QByteArrayView> lines = textlines::splitLines(file);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), 2);
    EXPECT_EQ(lines[1].size(), 5);
    EXPECT_EQ(lines[2].size(), 2);
    EXPECT_EQ(lines[0].data(), file.constData());
    EXPECT_EQ(lines[1].data(), file.constData() + 4);
    EXPECT_EQ(lines[2].data(), file.constData() + 11);
    EXPECT_EQ(cp932::decode(lines[1]), QStringLiteral("測点ｱ"));
}

TEST(TextLines, DoubleByteCharactersNeverHideALineEnd)
{
    // Trail bytes of code page 932 start at 0x40, so no CR or LF can sit
    // inside a character: every CP932 character followed by CR LF splits
    // cleanly. "\" (0x5C) as a trail byte, as in "ソ" 835C, stays inside.
    const QString text = QStringLiteral("ソ表能\r\n予");
    const QByteArray bytes = cp932::encode(text);
    const QList<QByteArrayView> lines = textlines::splitLines(bytes);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(cp932::decode(lines[0]), QStringLiteral("ソ表能"));
    EXPECT_EQ(cp932::decode(lines[1]), QStringLiteral("予"));
}
