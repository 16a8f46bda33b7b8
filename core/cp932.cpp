#include "core/cp932.h"

#include "core/failure.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>
#include <vector>

namespace vortan::cp932 {

namespace {

constexpr const char* kCodecName = "windows-31j";

void requireValid(bool valid)
{
    if (!valid)
        throw Failure(err::ObjectCreation,
                      QStringLiteral("文字コード変換 (コードページ 932) が利用できません。"),
                      QStringLiteral("cp932"));
}

// One converter of each direction per thread, kept because opening one is far
// dearer than converting a line. It is stateless (code page 932 has no shift
// states, and a lead byte cut off at the end of a buffer is an error, not
// something to carry over). Its error mark cannot be cleared, so a converter
// that saw an error is built anew.
template <typename Converter>
Converter& cleanConverter(std::optional<Converter>& slot)
{
    if (!slot || slot->hasError())
        slot.emplace(kCodecName, Converter::Flag::Stateless);
    requireValid(slot->isValid());
    return *slot;
}

QStringDecoder& decoder()
{
    thread_local std::optional<QStringDecoder> codec;
    return cleanConverter(codec);
}

QStringEncoder& encoder()
{
    thread_local std::optional<QStringEncoder> codec;
    return cleanConverter(codec);
}

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// One character's bytes, or nothing when the character has no form.
bool encodeOne(QStringView character, QByteArray& out)
{
    QStringEncoder& codec = encoder();
    const QByteArray bytes = codec.encode(character);
    if (codec.hasError() || bytes.isEmpty())
        return false;
    out += bytes;
    return true;
}

// The characters of the basic plane that have a code page 932 form, found
// once by encoding each of them.
const std::vector<bool>& encodableTable()
{
    static const std::vector<bool> table = [] {
        std::vector<bool> encodable(0x10000, false);
        std::optional<QStringEncoder> codec;
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const QChar ch(static_cast<char16_t>(c));
            QStringEncoder& one = cleanConverter(codec);
            const QByteArray bytes = one.encode(QStringView(&ch, 1));
            encodable[c] = !one.hasError() && !bytes.isEmpty();
        }
        return encodable;
    }();
    return table;
}

// The text with the JIS-mapping characters in their Windows forms; the same
// text (no copy) when it holds none.
QString withWindowsForms(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar mapped = windowsForm(text[i]);
        if (mapped != text[i] && out.isNull())
            out = text.toString();
        if (!out.isNull())
            out[i] = mapped;
    }
    return out;
}

} // namespace

QChar windowsForm(QChar character)
{
    switch (character.unicode()) {
    case 0x301C: return QChar(0xFF5E);
    case 0x2212: return QChar(0xFF0D);
    case 0x2016: return QChar(0x2225);
    case 0x00A2: return QChar(0xFFE0);
    case 0x00A3: return QChar(0xFFE1);
    case 0x00AC: return QChar(0xFFE2);
    case 0x2014: return QChar(0x2015);
    default: return character;
    }
}

QStringList unencodableCharacters(QStringView text)
{
    QStringList found;
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t c = text[i].unicode();
        qsizetype length = 1;
        bool encodable = c < 0x80;
        if (!encodable) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                length = 2;
            else if (!text[i].isSurrogate())
                encodable = encodableTable()[windowsForm(text[i]).unicode()];
        }
        if (!encodable) {
            const QString character = text.sliced(i, length).toString();
            if (!found.contains(character))
                found.append(character);
        }
        i += length;
    }
    return found;
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder& codec = decoder();
    QString text = codec.decode(bytes);
    if (!codec.hasError())
        return text;

    // Some bytes are not defined: decode sequence by sequence so that each
    // undefined one becomes exactly one U+FFFD.
    text.clear();
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        qsizetype length = 1;
        if (isLeadByte(b) && i + 1 < bytes.size() && isTrailByte(static_cast<unsigned char>(bytes[i + 1])))
            length = 2;
        QStringDecoder& one = decoder();
        const QString piece = one.decode(bytes.sliced(i, length));
        if (one.hasError() || piece.isEmpty())
            text += QChar(QChar::ReplacementCharacter);
        else
            text += piece;
        i += length;
    }
    return text;
}

QByteArray encode(QStringView text)
{
    const QString mapped = withWindowsForms(text);
    if (!mapped.isNull())
        text = mapped;
    QStringEncoder& codec = encoder();
    QByteArray bytes = codec.encode(text);
    if (!codec.hasError())
        return bytes;

    bytes.clear();
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            length = 2;
        if (!encodeOne(text.sliced(i, length), bytes))
            bytes += '?';
        i += length;
    }
    return bytes;
}

bool canEncode(QStringView text)
{
    const QString mapped = withWindowsForms(text);
    if (!mapped.isNull())
        text = mapped;
    QStringEncoder& codec = encoder();
    // encode() converts only when its result is taken as bytes.
    const QByteArray bytes = codec.encode(text);
    return !codec.hasError();
}

} // namespace vortan::cp932
