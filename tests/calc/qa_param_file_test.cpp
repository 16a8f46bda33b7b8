// qaTbl.tbl records: their bytes, the match by series code and soil name, and
// keeping the file's records while the file stays the same.

#include "calc/qa_param_file.h"
#include "support/test_databases.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::calc;

namespace {

QaParamRecord record(std::int16_t code, const QString& soil, float p1, std::int16_t mode = 1)
{
    QaParamRecord r;
    r.seriesCode = code;
    r.soilName = soil;
    r.p[0] = p1;
    r.p[53] = 0.5f;
    r.roundingMode = mode;
    return r;
}

bool writeRecords(const QString& path, const std::vector<QaParamRecord>& records, QByteArray tail = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const QaParamRecord& r : records)
        file.write(encodeQaParamRecord(r));
    file.write(tail);
    return true;
}

QaSet series(const char* code)
{
    QaSet set;
    set.code = QString::fromLatin1(code);
    return set;
}

} // namespace

TEST(QaParamRecordBytes, FieldsSitAtTheirOffsetsInLittleEndian)
{
    QaParamRecord r = record(0x0102, QStringLiteral("砂質土"), 1.0f, 2);
    r.p[53] = -2.0f;
    const QByteArray bytes = encodeQaParamRecord(r);
    ASSERT_EQ(bytes.size(), 240);
    EXPECT_EQ(bytes.left(2), QByteArray("\x02\x01", 2));
    // 砂質土 in code page 932 is 8D BB 8E BF 93 79, then blanks to 20 bytes.
    EXPECT_EQ(bytes.mid(2, 20), QByteArray("\x8d\xbb\x8e\xbf\x93\x79") + QByteArray(14, ' '));
    EXPECT_EQ(bytes.mid(22, 4), QByteArray("\x00\x00\x80\x3f", 4));      // P1 = 1.0f
    EXPECT_EQ(bytes.mid(234, 4), QByteArray("\x00\x00\x00\xc0", 4));     // P54 = -2.0f
    EXPECT_EQ(bytes.mid(238, 2), QByteArray("\x02\x00", 2));

    const QaParamRecord back = decodeQaParamRecord(bytes);
    EXPECT_EQ(back.seriesCode, 0x0102);
    EXPECT_EQ(back.soilName, QStringLiteral("砂質土") + QString(14, u' '));
    EXPECT_EQ(back.P(1), 1.0f);
    EXPECT_EQ(back.P(54), -2.0f);
    EXPECT_EQ(back.roundingMode, 2);
}

TEST(QaParamFile, MatchesSeriesCodeAndSoilNameBeforeTheFirstBlank)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qaTbl.tbl"));
    ASSERT_TRUE(writeRecords(path, {record(2, QStringLiteral("粘性土"), 10),
                                    record(1, QStringLiteral("粘性土 メモ"), 11),
                                    record(1, QStringLiteral("粘性土"), 12),
                                    record(1, QStringLiteral("砂質土"), 13)},
                             QByteArray(100, '\x7f')));   // a partial record at the end is not read
    QaParamFile file;
    // The series-2 record has the right soil but another code; the second
    // record's name is cut before its blank, so it is the first match.
    EXPECT_EQ(file.findQaParams(path, series("1"), QStringLiteral("粘性土")).P(1), 11.0f);
    EXPECT_EQ(file.findQaParams(path, series("2"), QStringLiteral(" 粘性土 ")).P(1), 10.0f);
    EXPECT_EQ(file.findQaParams(path, series("1"), QStringLiteral("砂質土")).P(1), 13.0f);
    // Code read by its leading number.
    EXPECT_EQ(file.findQaParams(path, series("1.0"), QStringLiteral("砂質土")).P(1), 13.0f);
    // No match, a code of 0 or an empty code: the zero record.
    const QaParamRecord none = file.findQaParams(path, series("3"), QStringLiteral("砂質土"));
    EXPECT_EQ(none.seriesCode, 0);
    EXPECT_EQ(none.P(1), 0.0f);
    EXPECT_EQ(file.findQaParams(path, series("0"), QStringLiteral("砂質土")).seriesCode, 0);
    EXPECT_EQ(file.findQaParams(path, series(""), QStringLiteral("砂質土")).seriesCode, 0);
    EXPECT_EQ(file.findQaParams(path, series("1"), QStringLiteral("ローム")).seriesCode, 0);
    // A missing file: the zero record.
    EXPECT_EQ(file.findQaParams(dir.filePath(QStringLiteral("none.tbl")), series("1"), QStringLiteral("砂質土"))
                  .seriesCode,
              0);
}

TEST(QaParamFile, ReadsTheFileAgainOnlyWhenItChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qaTbl.tbl"));
    ASSERT_TRUE(writeRecords(path, {record(1, QStringLiteral("砂質土"), 1)}));
    QaParamFile file;
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(file.findQaParams(path, series("1"), QStringLiteral("砂質土")).P(1), 1.0f);
    EXPECT_EQ(file.readCount(), 1);

    // A new record changes the size: read again, and the file is not held
    // open in between (it can be rewritten).
    ASSERT_TRUE(writeRecords(path, {record(1, QStringLiteral("粘性土"), 3), record(1, QStringLiteral("砂質土"), 2)}));
    EXPECT_EQ(file.findQaParams(path, series("1"), QStringLiteral("砂質土")).P(1), 2.0f);
    EXPECT_EQ(file.readCount(), 2);

    // Same size, later modification time: read again.
    QThread::msleep(20);
    ASSERT_TRUE(writeRecords(path, {record(1, QStringLiteral("粘性土"), 3), record(1, QStringLiteral("砂質土"), 5)}));
    QFile(path).setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    EXPECT_EQ(file.findQaParams(path, series("1"), QStringLiteral("砂質土")).P(1), 5.0f);
    EXPECT_EQ(file.readCount(), 3);

    // Removed: nothing matches any more.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(file.findQaParams(path, series("1"), QStringLiteral("砂質土")).seriesCode, 0);
}

TEST(QaParamFile, ShippedFileHoldsTheNoticeParameters)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    QaParamFile file;
    const QaParamRecord sand = file.findQaParams(files.qaParameterFile(), series("1"), QStringLiteral("砂質土"));
    ASSERT_EQ(sand.seriesCode, 1);
    EXPECT_EQ(sand.P(26), 0.5f);    // β
    EXPECT_EQ(sand.P(33), 18.0f);   // γ1
    EXPECT_EQ(sand.P(52), 15.0f);   // φ = 15 + (20·Nd)^0.5
    EXPECT_EQ(sand.P(53), 20.0f);
    EXPECT_EQ(sand.P(54), 0.5f);
    const QaParamRecord clay = file.findQaParams(files.qaParameterFile(), series("1"), QStringLiteral("粘性土"));
    ASSERT_EQ(clay.seriesCode, 1);
    EXPECT_EQ(clay.P(41), 6.25f);   // c = 6.25·Nd
}
