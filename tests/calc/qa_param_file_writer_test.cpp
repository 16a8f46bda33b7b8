// Rewriting one series of qaTbl.tbl: the bytes of the file afterwards, the
// name it keeps, and a failed write that must leave the old file whole.

#include "calc/qa_param_file_writer.h"
#include "core/failure.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::calc;

namespace {

QaParamRecord record(std::int16_t code, const QString& soil, float p1)
{
    QaParamRecord r;
    r.seriesCode = code;
    r.soilName = soil;
    r.p[0] = p1;
    return r;
}

QByteArray bytesOf(std::initializer_list<QaParamRecord> records)
{
    QByteArray out;
    for (const QaParamRecord& r : records)
        out += encodeQaParamRecord(r);
    return out;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A device that takes `capacity` bytes and then refuses to write.
class ShortDevice : public QBuffer {
public:
    explicit ShortDevice(qint64 capacity) : capacity_(capacity) {}

protected:
    qint64 writeData(const char* data, qint64 length) override
    {
        const qint64 room = capacity_ - size();
        if (room <= 0)
            return -1;
        return QBuffer::writeData(data, std::min(room, length));
    }

private:
    qint64 capacity_;
};

TEST(QaParamFileWriter, KeepsOtherSeriesInOrderAndAppendsTheNewRecords)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qaTbl.tbl"));
    // Series 1 is spread between the records of 2 and 3; a stray tail of
    // less than a record is dropped.
    writeFile(path, bytesOf({record(2, QStringLiteral("砂質土"), 1), record(1, QStringLiteral("砂質土"), 2),
                             record(3, QStringLiteral("粘性土"), 3), record(1, QStringLiteral("粘性土"), 4)}) +
                        QByteArray(17, 'x'));

    ReplaceQaSeries(dir.path(), 1, {record(1, QStringLiteral("ローム"), 5), record(1, QStringLiteral("腐植土"), 6)});

    EXPECT_EQ(readFile(path), bytesOf({record(2, QStringLiteral("砂質土"), 1), record(3, QStringLiteral("粘性土"), 3),
                                       record(1, QStringLiteral("ローム"), 5), record(1, QStringLiteral("腐植土"), 6)}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("qaTbl.tbl")}));

    // No records: the series is only removed.
    ReplaceQaSeries(dir.path(), 1, {});
    EXPECT_EQ(readFile(path), bytesOf({record(2, QStringLiteral("砂質土"), 1), record(3, QStringLiteral("粘性土"), 3)}));
}

TEST(QaParamFileWriter, MatchesFileNamesWithoutRegardToCaseAndCreatesAMissingFile)
{
    QTemporaryDir dir;
    const QString upper = dir.filePath(QStringLiteral("QATBL.TBL"));
    writeFile(upper, bytesOf({record(2, QStringLiteral("砂質土"), 1)}));
    // A scratch file left over from an interrupted run is overwritten.
    writeFile(dir.filePath(QStringLiteral("QADEL.TBL")), QByteArray("stale"));

    ReplaceQaSeries(dir.path(), 4, {record(4, QStringLiteral("ローム"), 2)});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("QATBL.TBL")}));
    EXPECT_EQ(readFile(upper), bytesOf({record(2, QStringLiteral("砂質土"), 1), record(4, QStringLiteral("ローム"), 2)}));

    QTemporaryDir empty;
    ReplaceQaSeries(empty.path(), 4, {record(4, QStringLiteral("ローム"), 2)});
    EXPECT_EQ(readFile(empty.filePath(QStringLiteral("qaTbl.tbl"))), bytesOf({record(4, QStringLiteral("ローム"), 2)}));
}

TEST(QaParamFileWriter, AFailedWriteLeavesTheOldFileAndNoScratchFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qaTbl.tbl"));
    const QByteArray old = bytesOf({record(2, QStringLiteral("砂質土"), 1), record(1, QStringLiteral("粘性土"), 4)});
    writeFile(path, old);

    const ScratchOpener failing = [&dir](const QString& scratch) -> std::unique_ptr<QIODevice> {
        EXPECT_EQ(scratch, dir.filePath(QStringLiteral("Qadel.tbl")));
        // The scratch file exists on disk as a real run would have made it.
        QFile touch(scratch);
        touch.open(QIODevice::WriteOnly);
        auto device = std::make_unique<ShortDevice>(300);
        device->open(QIODevice::WriteOnly);
        return device;
    };
    try {
        ReplaceQaSeries(dir.path(), 1, {record(1, QStringLiteral("ローム"), 5)}, failing);
        FAIL() << "a failed write must throw";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::DiskFull);
    }
    EXPECT_EQ(readFile(path), old);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Qadel.tbl"))));
}

TEST(QaParamFileWriter, FindsFilesIgnoringCase)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("QaDel.TBL")), QByteArray("x"));
    EXPECT_EQ(FindFileIgnoringCase(dir.path(), QStringLiteral("qadel.tbl")), dir.filePath(QStringLiteral("QaDel.TBL")));
    EXPECT_EQ(FindFileIgnoringCase(dir.path(), QStringLiteral("qaTbl.tbl")), dir.filePath(QStringLiteral("qaTbl.tbl")));
}

} // namespace
