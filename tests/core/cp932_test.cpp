// Code page 932: the characters the card and exchange files carry, the
// vendor extensions that plain Shift_JIS lacks, characters without a form,
// undefined bytes, and the whole double-byte table.

#include "core/cp932.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace vortan;

namespace {

struct Pair {
    const char16_t* text;
    const char* bytes;
};

QByteArray bytesOf(const char* hex) { return QByteArray::fromHex(hex); }

} // namespace

TEST(Cp932, KnownCharactersMapBothWays)
{
    const Pair cases[] = {
        {u"～", "8160"},        // full-width tilde of the card list lines (not U+301C)
        {u"①", "8740"},        // NEC row 13
        {u"ｱｲｳ", "b1b2b3"},     // half-width katakana are single bytes
        {u"髙", "fbfc"},        // IBM extension kanji
        {u"纊", "fa5c"},
        {u"ABC 123,.", "414243203132332c2e"},
        {u"\\", "5c"},          // ASCII, not the yen sign
        {u"~", "7e"},
        {u"ー", "815b"},
        {u"－", "817c"},        // U+FF0D, where plain Shift_JIS has U+2212
        {u"∥", "8161"},         // U+2225, where plain Shift_JIS has U+2016
        {u"￢", "81ca"},
        {u"㈱", "878a"},
        {u"砂質土", "8dbb8ebf9379"},
        {u"\uE000", "f040"},    // first user-defined character
        {u"", ""},
    };
    for (const Pair& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(cp932::encode(text), bytesOf(c.bytes)) << text.toStdString();
        EXPECT_EQ(cp932::decode(bytesOf(c.bytes)), text) << c.bytes;
        EXPECT_TRUE(cp932::canEncode(text)) << text.toStdString();
    }
}

TEST(Cp932, CharactersWithoutAFormBecomeQuestionMarks)
{
    EXPECT_EQ(cp932::encode(u"a€b"), QByteArray("a?b"));
    EXPECT_EQ(cp932::encode(u"é"), QByteArray("?"));
    EXPECT_EQ(cp932::encode(QStringLiteral("x\U0001F600y")), QByteArray("x?y")); // one per character
    EXPECT_EQ(cp932::encode(u"砂€土"), bytesOf("8dbb") + "?" + bytesOf("9379"));
    EXPECT_FALSE(cp932::canEncode(u"a€b"));
    // The converter is reused; an earlier failure must not spoil the next text.
    EXPECT_EQ(cp932::encode(u"～"), bytesOf("8160"));
    EXPECT_TRUE(cp932::canEncode(u"～"));
}

TEST(Cp932, JisMappingCharactersTakeTheirWindowsForms)
{
    // 〜 − ‖ ¢ £ ¬ — are written as ～ － ∥ ￠ ￡ ￢ ―, as Windows writes them;
    // what has no form even so is named, each character once.
    EXPECT_EQ(cp932::encode(u"〜−‖¢£¬—"), bytesOf("8160817c81618191819281ca815c"));
    EXPECT_TRUE(cp932::canEncode(u"〜−‖¢£¬—"));
    EXPECT_EQ(cp932::unencodableCharacters(QStringLiteral("〜€é\U0001F600髙€")),
              (QStringList{"€", "é", QStringLiteral("\U0001F600")}));
    EXPECT_TRUE(cp932::unencodableCharacters(u"髙橋①ｱ～abc").isEmpty());
}

TEST(Cp932, UndefinedBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(cp932::decode(bytesOf("80")), QStringLiteral("\uFFFD"));
    EXPECT_EQ(cp932::decode(QByteArray("a\xA0" "b")), QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(cp932::decode(bytesOf("fdfeff")), QStringLiteral("\uFFFD\uFFFD\uFFFD"));
    // A lead byte at the end, or before a byte that cannot follow it.
    EXPECT_EQ(cp932::decode(QByteArray("12\x81")), QStringLiteral("12\uFFFD"));
    EXPECT_EQ(cp932::decode(QByteArray("\x81 3")), QStringLiteral("\uFFFD 3"));
    // And the next, clean decode is not affected.
    EXPECT_EQ(cp932::decode(bytesOf("8160")), QStringLiteral("～"));
}

TEST(Cp932, SingleBytes)
{
    int defined = 0;
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, static_cast<char>(b));
        const QString text = cp932::decode(byte);
        ASSERT_EQ(text.size(), 1) << b;
        const bool expectedDefined = b < 0x80 || (b >= 0xA1 && b <= 0xDF);
        if (expectedDefined) {
            ++defined;
            EXPECT_NE(text[0], QChar(QChar::ReplacementCharacter)) << b;
            EXPECT_EQ(cp932::encode(text), byte) << b;
        } else {
            EXPECT_EQ(text[0], QChar(QChar::ReplacementCharacter)) << b;
        }
    }
    EXPECT_EQ(defined, 128 + 63);
    EXPECT_EQ(cp932::decode(bytesOf("b1")), QStringLiteral("ｱ"));
    EXPECT_EQ(cp932::decode(bytesOf("df")), QStringLiteral("ﾟ"));
}

TEST(Cp932, EveryDoubleByteCharacterRoundTrips)
{
    // Code page 932 defines 6879 JIS X 0208 characters, 83 of NEC row 13,
    // 374 NEC-selected IBM extensions (lead bytes ED, EE), 388 IBM extensions
    // (FA-FC) and 1880 user-defined characters (F0-F9): 9604 in all.
    //
    // 398 of them are second forms of a character that also has a first form,
    // and encode writes the first form, as Windows does:
    //  - the 374 NEC-selected IBM extensions -> their IBM extension codes;
    //  - 9 symbols of NEC row 13 (≒≡∫√⊥∠∵∩∪, 8790-879C) -> JIS X 0208 row 2;
    //  - 15 IBM extensions: Ⅰ-Ⅹ (FA4A-FA53) -> NEC row 13, ￢ (FA54) -> 81CA,
    //    ㈱ № ℡ (FA58-FA5A) -> NEC row 13, ∵ (FA5B) -> 81E6.
    int mapped = 0;
    int secondForms = 0;
    QSet<QString> characters;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            QByteArray bytes;
            bytes += static_cast<char>(lead);
            bytes += static_cast<char>(trail);
            const QString text = cp932::decode(bytes);
            ASSERT_EQ(text.size(), 1) << std::hex << lead << trail;
            if (text[0] == QChar(QChar::ReplacementCharacter))
                continue;
            ++mapped;
            characters.insert(text);
            const QByteArray back = cp932::encode(text);
            ASSERT_EQ(back.size(), 2) << std::hex << lead << trail;
            if (back == bytes)
                continue;
            ++secondForms;
            const int code = lead << 8 | trail;
            const bool knownSecondForm = (code >= 0x8790 && code <= 0x879C)
                || (code >= 0xED40 && code <= 0xEEFC) || (code >= 0xFA4A && code <= 0xFA5B);
            EXPECT_TRUE(knownSecondForm) << std::hex << code;
            // The first form reads as the same character.
            EXPECT_EQ(cp932::decode(back), text) << std::hex << code;
        }
    }
    EXPECT_EQ(mapped, 9604);
    EXPECT_EQ(secondForms, 398);
    EXPECT_EQ(characters.size(), 9604 - 398);
}

TEST(Cp932, ByteRangesDecodedInOneGoMatchCharacterByCharacter)
{
    // A buffer of all IBM extensions (FA40-FC4B) decoded at once gives the
    // same text as decoding each pair alone: no state leaks between characters.
    QByteArray all;
    QString expected;
    for (int lead = 0xFA; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= (lead == 0xFC ? 0x4B : 0xFC); ++trail) {
            if (trail == 0x7F)
                continue;
            QByteArray pair;
            pair += static_cast<char>(lead);
            pair += static_cast<char>(trail);
            all += pair;
            expected += cp932::decode(pair);
        }
    }
    EXPECT_EQ(expected.size(), 388);
    EXPECT_FALSE(expected.contains(QChar(QChar::ReplacementCharacter)));
    EXPECT_EQ(cp932::decode(all), expected);
    EXPECT_EQ(cp932::encode(expected).size(), all.size());
}
