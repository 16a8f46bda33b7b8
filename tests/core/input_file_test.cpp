// Reading user-given files a block at a time, within the input limits.

#include "core/failure.h"
#include "core/input_file.h"
#include "core/text_lines.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;

TEST(InputFile, LinesReadBlockByBlockAreTheLinesOfTheWholeBuffer)
{
    // Line ends of every kind, one CR LF cut by the end of the first 1 MiB
    // block, and a last line without an end.
    const inputfile::Kind kind{QStringLiteral("テスト"), QStringLiteral("test")};
    QByteArray bytes;
    for (int i = 0; bytes.size() < (1 << 20) - 40; ++i)
        bytes += QByteArray::number(i).repeated(i % 7 + 1) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    bytes += QByteArray((1 << 20) - 1 - bytes.size(), 'x') + "\r\n\r\rlast";
    QTemporaryDir dir;
    QFile file(dir.filePath("lines.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const std::unique_ptr<QFile> device = inputfile::open(file.fileName(), kind);
    inputfile::LineReader reader(*device, kind);
    QList<QByteArray> read;
    QByteArrayView line;
    while (reader.next(line))
        read.append(line.toByteArray());
    QList<QByteArray> whole;
    for (QByteArrayView piece : textlines::splitLines(bytes))
        whole.append(piece.toByteArray());
    EXPECT_EQ(read, whole);
    EXPECT_EQ(reader.bytesRead(), bytes.size());
}

TEST(InputFile, AFileBeyondTheLimitIsRefusedBeforeItIsRead)
{
    // A sparse file one byte larger than the limit takes no room on the disk.
    QTemporaryDir dir;
    QFile file(dir.filePath("large.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(inputfile::MaxFileBytes + 1));
    file.close();
    try {
        inputfile::readAll(file.fileName(), {QStringLiteral("カードファイル"), QStringLiteral("CardFile")});
        FAIL() << "not refused";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::SubscriptOutOfRange);
        EXPECT_EQ(failure.description(), QStringLiteral("カードファイル「%1」が大きすぎます（1024 MB まで読み込めます）。")
                                             .arg(QDir::toNativeSeparators(file.fileName())));
    }
}
