// The coefficient lookups of the three formula tables and their one-entry caches.

#include "calc_test_environment.h"
#include "calc/formula_sets.h"

using namespace vortan;
using namespace vortan::calc;

namespace {

struct FormulaSets : ::testing::Test {
    test::CalcEnvironment env;
    FormulaSetCache& cache() { return env.calculator->formulaSets(); }
    quint64 statements() { return env.db().statementCount(); }
};

} // namespace

TEST_F(FormulaSets, ShippedSeriesOfTheUsualCustomer)
{
    const RNdSet rnd = cache().lookUpRNd(QStringLiteral("一般"), QStringLiteral("砂質土"));
    EXPECT_EQ(rnd.a, 0.0f);
    EXPECT_EQ(rnd.b, 0.4f);
    EXPECT_EQ(rnd.c, 1.0f);
    const NdSet nd = cache().lookUpNd(QStringLiteral("一般"), QStringLiteral("粘性土"));
    EXPECT_EQ(nd.b, 1.0f);
    EXPECT_EQ(nd.c, 1.0f);
    EXPECT_EQ(nd.d, 1.0f);
    EXPECT_EQ(nd.e, 1.0f);
    const QaSet qa = cache().lookUpQa(QStringLiteral("一般"), QStringLiteral("ローム"));
    EXPECT_EQ(qa.code, QStringLiteral("1"));
    EXPECT_FALSE(qa.isNone());
}

TEST_F(FormulaSets, SameCustomerAndSoilIsAnsweredFromTheCache)
{
    const QString customer = QStringLiteral("一般");
    quint64 before = statements();
    cache().lookUpRNd(customer, QStringLiteral("砂質土"));
    cache().lookUpRNd(customer, QStringLiteral("砂質土"));
    EXPECT_EQ(statements() - before, 1u);
    // Another soil, then back: a query each time (one entry per table).
    cache().lookUpRNd(customer, QStringLiteral("粘性土"));
    cache().lookUpRNd(customer, QStringLiteral("砂質土"));
    EXPECT_EQ(statements() - before, 3u);
    // The tables have their own entries.
    cache().lookUpNd(customer, QStringLiteral("砂質土"));
    cache().lookUpQa(customer, QStringLiteral("砂質土"));
    cache().lookUpNd(customer, QStringLiteral("砂質土"));
    cache().lookUpQa(customer, QStringLiteral("砂質土"));
    EXPECT_EQ(statements() - before, 5u);
    // The entries start with empty names: an empty lookup needs no query.
    FormulaSetCache fresh(env.workspace, env.state);
    before = statements();
    EXPECT_EQ(fresh.lookUpRNd(QString(), QString()).b, 0.0f);
    EXPECT_EQ(statements() - before, 0u);
}

TEST_F(FormulaSets, AfterAnEditorSavedEveryLookupQueries)
{
    const QString customer = QStringLiteral("一般");
    cache().lookUpNd(customer, QStringLiteral("砂質土"));
    env.state.formulaChanges->give();
    // The editor changed the series: the next lookup sees the new value.
    env.db().execute(QStringLiteral("UPDATE mstNd値計算式 SET B = 2 WHERE 土質名 = '砂質土';"));
    const quint64 before = statements();
    EXPECT_EQ(cache().lookUpNd(customer, QStringLiteral("砂質土")).b, 2.0f);
    EXPECT_EQ(cache().lookUpNd(customer, QStringLiteral("砂質土")).b, 2.0f);
    EXPECT_EQ(statements() - before, 2u);
    // A cache made after the save knows it too.
    FormulaSetCache later(env.workspace, env.state);
    later.lookUpNd(customer, QStringLiteral("砂質土"));
    later.lookUpNd(customer, QStringLiteral("砂質土"));
    EXPECT_EQ(statements() - before, 4u);
}

TEST_F(FormulaSets, MissingRowsAndNullCoefficientsGiveZero)
{
    env.addCustomer(QStringLiteral("部分"), 7, QStringLiteral("砂質土"), QStringLiteral("1, Null, 2"),
                    QString(), 0);
    const RNdSet rnd = cache().lookUpRNd(QStringLiteral("部分"), QStringLiteral("砂質土"));
    EXPECT_EQ(rnd.a, 1.0f);
    EXPECT_EQ(rnd.b, 0.0f);   // Null
    EXPECT_EQ(rnd.c, 2.0f);
    // The series has no row for this soil.
    const RNdSet none = cache().lookUpRNd(QStringLiteral("部分"), QStringLiteral("粘性土"));
    EXPECT_EQ(none.a, 0.0f);
    EXPECT_EQ(none.c, 0.0f);
    EXPECT_TRUE(cache().lookUpNd(QStringLiteral("部分"), QStringLiteral("砂質土")).allZero());
    // An unknown customer.
    EXPECT_TRUE(cache().lookUpNd(QStringLiteral("不明"), QStringLiteral("砂質土")).allZero());
}

TEST_F(FormulaSets, QaLookupWithoutARowClearsTheSeriesCode)
{
    env.addCustomer(QStringLiteral("無qa"), 8, QStringLiteral("砂質土"), QString(), QString(), 0);
    EXPECT_EQ(cache().lookUpQa(QStringLiteral("一般"), QStringLiteral("砂質土")).code,
              QStringLiteral("1"));
    // The previous lookup's code must not carry over to a customer without a series.
    const QaSet none = cache().lookUpQa(QStringLiteral("無qa"), QStringLiteral("砂質土"));
    EXPECT_TRUE(none.code.isEmpty());
    EXPECT_TRUE(none.isNone());
}

TEST_F(FormulaSets, NamesWithQuotesAreLookedUpAsTyped)
{
    env.addCustomer(QStringLiteral("O'Neill"), 9, QStringLiteral("砂質土"), QStringLiteral("0, 0.5, 1"),
                    QString());
    EXPECT_EQ(cache().lookUpRNd(QStringLiteral("O'Neill"), QStringLiteral("砂質土")).b, 0.5f);
    EXPECT_EQ(cache().lookUpRNd(QStringLiteral("O'Neill"), QStringLiteral("砂'質土")).b, 0.0f);
}
