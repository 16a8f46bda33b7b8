// Like with the dialect's wildcards, on its own and inside queries.

#include "db_test_fixture.h"

#include "db/jet_like.h"

using namespace vortan::db;
using namespace vortan::db::test;

namespace {

TEST(JetLike, Wildcards)
{
    EXPECT_TRUE(jetLike(u"山田建設", u"山田*"));
    EXPECT_TRUE(jetLike(u"山田", u"山田*"));
    EXPECT_FALSE(jetLike(u"小山田", u"山田*"));
    EXPECT_TRUE(jetLike(u"小山田", u"*山田"));
    EXPECT_TRUE(jetLike(u"abcabd", u"*ab?"));
    EXPECT_TRUE(jetLike(u"A1", u"a#"));
    EXPECT_FALSE(jetLike(u"AB", u"a#"));
    EXPECT_TRUE(jetLike(u"b9", u"[abc]#"));
    EXPECT_FALSE(jetLike(u"d9", u"[abc]#"));
    EXPECT_TRUE(jetLike(u"d9", u"[!abc]#"));
    EXPECT_FALSE(jetLike(u"B9", u"[!abc]#"));
    EXPECT_TRUE(jetLike(u"m", u"[a-z]"));
    EXPECT_TRUE(jetLike(u"M", u"[a-z]"));
    EXPECT_TRUE(jetLike(u"*", u"[*]"));
    EXPECT_FALSE(jetLike(u"x", u"[*]"));
    EXPECT_TRUE(jetLike(u"100%", u"100%"));
    EXPECT_FALSE(jetLike(u"1000", u"100%"));
    EXPECT_TRUE(jetLike(u"a_b", u"a_b"));
    EXPECT_FALSE(jetLike(u"axb", u"a_b"));
    EXPECT_TRUE(jetLike(u"", u"*"));
    EXPECT_FALSE(jetLike(u"", u"?"));
    EXPECT_TRUE(jetLike(u"東京都港区", u"東京都??"));
    EXPECT_TRUE(jetLike(u"a[b", u"a[b"));
}

class JetLikeQueries : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db->execute(QStringLiteral("CREATE TABLE 調査地区 (調査地区No Long, 現場名 String(50), 得意先名 String(50))"));
        const char* names[] = {"山田邸", "山田ビル", "小山田邸", "Tanaka House", "tanaka 2", "B-10"};
        int no = 0;
        for (const char* name : names)
            db->execute(QStringLiteral("INSERT INTO 調査地区 VALUES (%1, '%2', '一般')").arg(++no).arg(QString::fromUtf8(name)));
    }

    QString numbers(const QString& condition)
    {
        return column(QStringLiteral("select 調査地区.* from 調査地区 WHERE (") + condition
                          + QStringLiteral(") ORDER BY 調査地区.調査地区No"),
                      QStringLiteral("調査地区No"));
    }
};

TEST_F(JetLikeQueries, SearchConditions)
{
    EXPECT_EQ(numbers(QStringLiteral(" (調査地区.現場名 Like '山田*') ")), QStringLiteral("1|2"));
    EXPECT_EQ(numbers(QStringLiteral("調査地区.現場名 Like '*山田*'")), QStringLiteral("1|2|3"));
    EXPECT_EQ(numbers(QStringLiteral("現場名 LIKE 'TANAKA*'")), QStringLiteral("4|5"));
    EXPECT_EQ(numbers(QStringLiteral("現場名 like 'tanaka #'")), QStringLiteral("5"));
    EXPECT_EQ(numbers(QStringLiteral("現場名 Like '[a-c]-##'")), QStringLiteral("6"));
    EXPECT_EQ(numbers(QStringLiteral("現場名 Like '[!山]*邸'")), QStringLiteral("3"));
    EXPECT_EQ(numbers(QStringLiteral("現場名 Not Like '*邸' and 現場名 Like '??????*'")), QStringLiteral("4|5"));
    EXPECT_EQ(numbers(QStringLiteral("(調査地区.得意先名 Like '一般') and  (調査地区.現場名 Like '山田?') ")),
              QStringLiteral("1"));
    EXPECT_EQ(numbers(QStringLiteral("現場名 Like '%'")), QString());
}

} // namespace
