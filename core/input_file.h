#pragma once
// Reading the files a user hands the program (card files, exchange files, the
// settings file): only plain files are read, never a folder, a device such as
// /dev/zero or a pipe, which could feed the reader without end; and a file or
// a line beyond a generous limit is refused with a message saying so, before
// it can take all the memory there is.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <memory>

namespace vortan::inputfile {

// Far beyond any card or exchange file a machine or an installation writes.
inline constexpr qint64 MaxFileBytes = qint64(1) << 30;   // 1 GiB
inline constexpr qsizetype MaxLineBytes = 1 << 16;        // 64 KiB

// What a reader calls its file in messages ("カードファイル") and the
// source its failures carry.
struct Kind {
    QString name;
    QString source;
    qint64 maxFileBytes = MaxFileBytes;
};

// Opens `path` for reading through the program's read device. A path that
// exists but is no plain file throws 52; a file larger than the kind's
// limit throws 9; a file that cannot be opened throws its read failure.
std::unique_ptr<QFile> open(const QString& path, const Kind& kind);

// The whole file, opened as above. A file that grows past the limit while
// it is read throws 9; a read that fails part way throws its read failure.
QByteArray readAll(const QString& path, const Kind& kind);

// Throws 9 naming the line when it is longer than MaxLineBytes (a card line
// holds some 50 bytes, an exchange line at most a few thousand).
void checkLineLength(qsizetype bytes, qint64 lineNumber, const Kind& kind);

// The lines of an open device, one at a time, split as textlines splits a
// whole buffer: CR LF, a lone CR or a lone LF end a line, the last line
// counts without an end. Only a block of the file is held at a time.
class LineReader {
public:
    LineReader(QFileDevice& device, const Kind& kind);

    // The next line, its end excluded; false at the end of the input. The
    // view stays valid until the next call. Throws the read failure of the
    // device, or 9 for a line beyond MaxLineBytes or a file beyond the limit.
    bool next(QByteArrayView& line);

    qint64 lineNumber() const { return lineNumber_; }
    qint64 bytesRead() const { return consumed_; }

private:
    bool fill();

    QFileDevice& device_;
    const Kind& kind_;
    QByteArray buffer_;
    qsizetype start_ = 0;
    qint64 consumed_ = 0;
    qint64 lineNumber_ = 0;
    bool atEnd_ = false;
};

} // namespace vortan::inputfile
