// Like with the dialect's wildcards, on its own and inside queries.

#include "db_test_fixture.h"

#include "db/jet_like.h"
#include "db/like_trigram_query.h"

#include <QHash>
#include <sqlite3.h>

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

// Surveys found by a part of a free text through the substring index are
// exactly those Like finds reading every survey. (A server database keeps no
// such index: the same patterns read the table there.)
class SubstringSearch : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db->execute(QStringLiteral("CREATE TABLE 調査地区 (調査地区No Long PRIMARY KEY, 現場名 String(50), 住所 String(50))"));
        indexed = db->createSubstringIndex(QStringLiteral("調査地区の部分一致"), QStringLiteral("調査地区"),
                                           QStringLiteral("調査地区No"), {QStringLiteral("現場名"), QStringLiteral("住所")});
        EXPECT_EQ(indexed, !server.isValid());
    }

    QString query(const QString& pattern) const
    {
        return QStringLiteral("select 調査地区.* from 調査地区 WHERE ( (調査地区.現場名 Like '") + quoted(pattern)
            + QStringLiteral("') ) ORDER BY 調査地区.調査地区No");
    }

    // The numbers of the surveys whose site name Like matches, from every row.
    QString scanned(const QString& pattern)
    {
        RecordSet rows = db->openRecordSet(QStringLiteral("SELECT 調査地区No, 現場名 FROM 調査地区 ORDER BY 調査地区No"));
        QStringList numbers;
        for (; !rows.eof(); rows.moveNext())
            if (!rows.field(1).isNull() && jetLike(rows.field(1).toText(), pattern))
                numbers << rows.field(0).toText();
        return numbers.join(u'|');
    }

    bool indexed = false;
};

TEST_F(SubstringSearch, FindsWhatReadingEverySurveyFindsBeforeAndAfterChanges)
{
    const char* names[] = {"山田ビル新築工事", "山田ビル", "小山田邸", "Tanaka House", "TANAKA house 2", "ｔａｎａｋａ邸",
                           "港区工事", "ＡＢＣ港区工事", "工事*済", "100%完了", "O'Neill邸", "山田　ビル"};
    int no = 0;
    for (const char* name : names)
        db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No, 現場名, 住所) VALUES (%1, '%2', '山田市')")
                        .arg(++no).arg(quoted(QString::fromUtf8(name))));
    db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No, 住所) VALUES (20, '山田ビル');"));   // no site name

    const char* patterns[] = {
        "*山*", "*山田*", "山田ビ*", "*山田ビ*", "*田ビル新*", "*ビル*工事", "*tanaka*", "*TANAKA HO*", "*abc港区*",
        "*港区工事", "港区工事", "*工事[*]*", "*[!小]山田*", "*山田?ビル*", "*0#%*", "*00%*", "*o'neill*", "*山田ビル*",
        "*", "*市*", "*ル新築工事*新*",
        // Full-width letters in the other case: a server folds them by its own locale.
        "*ＴＡＮＡＫＡ*", "*ａｂｃ港区*",
    };
    const auto compare = [&](const char* when) {
        for (const char* p : patterns) {
            const QString pattern = QString::fromUtf8(p);
            if (!indexed && pattern.front().unicode() == u'*' && pattern[1].unicode() >= 0xFF00)
                continue;
            EXPECT_EQ(column(query(pattern), QStringLiteral("調査地区No")), scanned(pattern)) << when << " " << p;
        }
    };
    compare("as written");
    ASSERT_EQ(scanned(QStringLiteral("*山田ビ*")), QStringLiteral("1|2"));

    db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No, 現場名) VALUES (30, '新しい山田ビル');"));
    db->execute(QStringLiteral("UPDATE 調査地区 SET 現場名 = '田中ビル' WHERE 調査地区No = 2;"));
    db->execute(QStringLiteral("UPDATE 調査地区 SET 調査地区No = 31 WHERE 調査地区No = 7;"));
    db->execute(QStringLiteral("UPDATE 調査地区 SET 現場名 = Null WHERE 調査地区No = 4;"));
    db->execute(QStringLiteral("DELETE FROM 調査地区 WHERE 調査地区No = 1;"));
    compare("after changes");
    ASSERT_EQ(scanned(QStringLiteral("*山田ビ*")), QStringLiteral("30"));

    if (indexed) {
        // A run of three characters is looked up; two are too few and read the table.
        EXPECT_FALSE(db->queryPlan(query(QStringLiteral("*港区工*"))).join(u'|').contains(QStringLiteral("SCAN 調査地区|")));
        EXPECT_TRUE(db->queryPlan(query(QStringLiteral("*港区*"))).value(0).startsWith(QStringLiteral("SCAN 調査地区")));
        // The index belongs to the engine, not to the program's tables.
        EXPECT_EQ(db->tableNames(), QStringList{QStringLiteral("調査地区")});

        // Every write adds a segment that lookups read; they are merged as
        // soon as two lie on a level. An index made by an earlier version,
        // which left them to gather, is brought up to date when created again.
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open_v2(location().toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        const auto segments = [raw](const char* setting = nullptr) {
            if (setting)
                sqlite3_exec(raw, setting, nullptr, nullptr, nullptr);
            sqlite3_stmt* count = nullptr;
            sqlite3_prepare_v2(raw, "SELECT count(DISTINCT segid) FROM \"調査地区の部分一致_idx\"", -1, &count, nullptr);
            const int n = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int(count, 0) : -1;
            sqlite3_finalize(count);
            return n;
        };
        const auto writeSome = [&] {
            for (int n = 40; n < 52; ++n)
                db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No, 現場名) VALUES (%1, '山田ビル%1');").arg(n));
        };
        writeSome();
        EXPECT_LE(segments(), 4);
        segments("INSERT INTO \"調査地区の部分一致\" (\"調査地区の部分一致\", rank) VALUES ('crisismerge', 16)");
        db->execute(QStringLiteral("DELETE FROM 調査地区 WHERE 調査地区No >= 40;"));
        writeSome();
        EXPECT_GT(segments(), 8);
        const auto createAgain = [&] {
            return db->createSubstringIndex(QStringLiteral("調査地区の部分一致"), QStringLiteral("調査地区"),
                                            QStringLiteral("調査地区No"), {QStringLiteral("現場名"), QStringLiteral("住所")});
        };
        EXPECT_TRUE(createAgain());
        EXPECT_EQ(segments(), 1);
        EXPECT_FALSE(createAgain());
        sqlite3_close(raw);
        compare("after the index was brought up to date");
    }
}

// The index folds letter case as Like does for every character a looked-up
// run may hold: each finds all the characters Like takes for it.
TEST_F(SubstringSearch, EveryCharacterLookedUpFindsAllItsCasePartners)
{
    if (!indexed)
        GTEST_SKIP() << "the server keeps no substring index";
    QHash<char16_t, QList<char16_t>> partners;   // by the folded character
    for (int u = 1; u < 0x10000; ++u) {
        const QChar c{char16_t(u)};
        if (!c.isSurrogate())
            partners[c.toCaseFolded().unicode()].append(char16_t(u));
    }
    db->beginTransaction();
    const int insert = db->prepareInsert(QStringLiteral("調査地区"), {QStringLiteral("調査地区No"), QStringLiteral("現場名")});
    for (const QList<char16_t>& group : std::as_const(partners))
        if (group.size() > 1)
            for (const char16_t u : group)
                db->insertRow(insert, {Value(qint64(u)), Value(QStringLiteral("x%1y").arg(QChar(u)))});
    db->commit();
    int looked = 0;
    for (const QList<char16_t>& group : std::as_const(partners)) {
        if (group.size() < 2)
            continue;
        QStringList all;
        for (const char16_t u : group)
            all << QString::number(u);
        all.sort();
        for (const char16_t u : group) {
            if (!foldsAlikeInTrigramIndex(QChar(u)))
                continue;
            ++looked;
            QStringList found = column(query(QStringLiteral("*x%1y*").arg(QChar(u))), QStringLiteral("調査地区No")).split(u'|');
            found.sort();
            EXPECT_EQ(found, all) << "U+" << QString::number(u, 16).toStdString();
        }
    }
    EXPECT_GT(looked, 500);
}

} // namespace
