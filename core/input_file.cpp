#include "core/input_file.h"

#include "core/failure.h"
#include "core/file_devices.h"
#include "core/file_failure.h"

#include <QDir>
#include <QFileInfo>

namespace vortan::inputfile {

namespace {

constexpr qint64 BlockBytes = qint64(1) << 20;

[[noreturn]] void tooLarge(const QString& path, const Kind& kind)
{
    throw Failure(err::SubscriptOutOfRange,
                  QStringLiteral("%1「%2」が大きすぎます（%3 MB まで読み込めます）。")
                      .arg(kind.name, QDir::toNativeSeparators(path))
                      .arg(kind.maxFileBytes >> 20),
                  kind.source);
}

} // namespace

std::unique_ptr<QFile> open(const QString& path, const Kind& kind)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw notAFileFailure(path, kind.source);
    if (info.size() > kind.maxFileBytes)
        tooLarge(path, kind);
    std::unique_ptr<QFile> file = filedevices::readDevice(path);
    if (!info.exists() || !file->open(QIODevice::ReadOnly))
        throw fileReadFailure(*file, kind.source);
    return file;
}

QByteArray readAll(const QString& path, const Kind& kind)
{
    const std::unique_ptr<QFile> file = open(path, kind);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(std::min(file->size(), kind.maxFileBytes)));
    for (;;) {
        const qsizetype start = bytes.size();
        const qint64 want = std::min(BlockBytes, kind.maxFileBytes + 1 - start);
        bytes.resize(start + want);
        const qint64 count = file->read(bytes.data() + start, want);
        bytes.resize(start + std::max<qint64>(count, 0));
        if (count < 0)
            throw fileReadFailure(*file, kind.source);
        if (bytes.size() > kind.maxFileBytes)
            tooLarge(path, kind);   // it grew while it was read
        if (count == 0)
            break;
    }
    return bytes;
}

void checkLineLength(qsizetype bytes, qint64 lineNumber, const Kind& kind)
{
    if (bytes > MaxLineBytes)
        throw Failure(err::SubscriptOutOfRange,
                      QStringLiteral("%1の%2行目が長すぎます（1行 %3 バイトまで読み込めます）。")
                          .arg(kind.name)
                          .arg(lineNumber)
                          .arg(MaxLineBytes),
                      kind.source);
}

LineReader::LineReader(QFileDevice& device, const Kind& kind) : device_(device), kind_(kind) {}

bool LineReader::fill()
{
    if (atEnd_)
        return false;
    buffer_.remove(0, start_);
    start_ = 0;
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + BlockBytes);
    const qint64 count = device_.read(buffer_.data() + kept, BlockBytes);
    buffer_.resize(kept + std::max<qint64>(count, 0));
    if (count < 0)
        throw fileReadFailure(device_, kind_.source);
    if (count == 0)
        atEnd_ = true;
    if (consumed_ + buffer_.size() > kind_.maxFileBytes)
        tooLarge(device_.fileName(), kind_);
    return count > 0;
}

bool LineReader::next(QByteArrayView& line)
{
    qsizetype scan = start_;
    for (;;) {
        const char* data = buffer_.constData();
        const qsizetype size = buffer_.size();
        qsizetype i = scan;
        while (i < size && data[i] != '\n' && data[i] != '\r')
            ++i;
        if (i < size) {
            // A CR as the last byte of the block may be the first half of CR LF.
            if (data[i] == '\r' && i + 1 == size && !atEnd_) {
                scan = i - start_;
                fill();
                scan += start_;
                continue;
            }
            const qsizetype length = i - start_;
            checkLineLength(length, lineNumber_ + 1, kind_);
            const qsizetype end = (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ? i + 2 : i + 1;
            line = QByteArrayView(data + start_, length);
            consumed_ += end - start_;
            start_ = end;
            ++lineNumber_;
            return true;
        }
        checkLineLength(size - start_, lineNumber_ + 1, kind_);
        if (atEnd_) {
            if (start_ == size)
                return false;
            line = QByteArrayView(data + start_, size - start_);
            consumed_ += size - start_;
            start_ = size;
            ++lineNumber_;
            return true;
        }
        scan = size - start_;
        fill();
        scan += start_;
    }
}

} // namespace vortan::inputfile
