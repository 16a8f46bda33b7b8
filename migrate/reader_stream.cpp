#include "migrate/reader_stream.h"

#include "core/failure.h"

#include <algorithm>

namespace vortan::migrate {

namespace {

[[noreturn]] void garbled(const char* what)
{
    throw Failure(err::DbNotDatabase,
                  QStringLiteral("The reader of the Access file sent a garbled line (%1).").arg(QLatin1String(what)),
                  QStringLiteral("MigrateLegacyDatabase"));
}

// Resolves the escapes of one field.
void unescape(const char* begin, const char* end, StreamField& field)
{
    if (end - begin == 2 && begin[0] == '\\' && begin[1] == 'N') {
        field.null = true;
        field.text.clear();
        return;
    }
    field.null = false;
    if (std::find(begin, end, '\\') == end) {
        field.text = QString::fromUtf8(begin, end - begin);
        return;
    }
    QByteArray plain;
    plain.reserve(end - begin);
    for (const char* p = begin; p < end; ++p) {
        if (*p != '\\') {
            plain += *p;
            continue;
        }
        if (++p == end)
            garbled("escape at the end of a field");
        switch (*p) {
        case '\\': plain += '\\'; break;
        case 't': plain += '\t'; break;
        case 'n': plain += '\n'; break;
        case 'r': plain += '\r'; break;
        default: garbled("unknown escape");
        }
    }
    field.text = QString::fromUtf8(plain);
}

} // namespace

void ReaderStream::append(const QByteArray& bytes)
{
    if (position_ > 0 && position_ == buffer_.size()) {
        buffer_.clear();
        position_ = 0;
    } else if (position_ > (1 << 20)) {
        buffer_.remove(0, position_);
        position_ = 0;
    }
    buffer_.append(bytes);
}

bool ReaderStream::next(StreamLine& line)
{
    const qsizetype end = buffer_.indexOf('\n', position_);
    if (end < 0)
        return false;
    const char* p = buffer_.constData() + position_;
    const char* const stop = buffer_.constData() + end;
    position_ = end + 1;

    if (p == stop || (p + 1 < stop && p[1] != '\t'))
        garbled("no tag");
    line.tag = *p++;
    std::size_t count = 0;
    while (p < stop) {
        ++p;   // the TAB before the field
        const char* fieldEnd = std::find(p, stop, '\t');
        if (line.fields.size() <= count)
            line.fields.emplace_back();
        unescape(p, fieldEnd, line.fields[count++]);
        p = fieldEnd;
    }
    line.fields.resize(count);
    return true;
}

} // namespace vortan::migrate
