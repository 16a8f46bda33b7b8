#include "calc/formula_sets.h"

#include "core/failure.h"
#include "core/formula_change_notice.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "db/database.h"
#include "db/record_set.h"
#include "db/workspace.h"

namespace vortan::calc {

namespace {

db::Database& surveyDatabase(db::Workspace& workspace)
{
    db::Database* database = workspace.survey();
    if (!database)
        throw Failure(err::ObjectNotSet, QStringLiteral("調査データベースが開かれていません。"),
                      QStringLiteral("FormulaSetCache"));
    return *database;
}

// A coefficient as the lookup reads it: the field's text by the leading-number
// rule, so that a Null coefficient is 0.
float coefficient(const db::RecordSet& rows, int column)
{
    return static_cast<float>(numtext::leadingNumber(rows.field(column).toText()));
}

QString literal(const QString& text)
{
    return db::quoted(text);
}

} // namespace

bool QaSet::isNone() const
{
    if (!code.isEmpty())
        return false;
    for (float value : coefficients)
        if (value != 0)
            return false;
    return true;
}

FormulaSetCache::FormulaSetCache(db::Workspace& workspace, const ProgramState& state)
    : workspace_(workspace), notice_(state.formulaChanges), formulasChanged_(notice_->given())
{
    listening_ = QObject::connect(notice_.get(), &FormulaChangeNotice::changed, [this] { formulasChanged_ = true; });
}

FormulaSetCache::~FormulaSetCache()
{
    QObject::disconnect(listening_);
}

template <typename Set, typename ReadRow>
Set FormulaSetCache::lookup(Entry<Set>& entry, const QString& customer, const QString& soil,
                            QString (*statement)(const QString&, const QString&), ReadRow readRow)
{
    if (customer != entry.customer || soil != entry.soil || formulasChanged_) {
        db::RecordSet rows = surveyDatabase(workspace_).openRecordSet(statement(customer, soil));
        Set set;
        if (!rows.eof()) {
            rows.moveFirst();
            readRow(rows, set);
        }
        rows.close();
        entry.set = set;
    }
    entry.customer = customer;
    entry.soil = soil;
    return entry.set;
}

QString FormulaSetCache::rndStatement(const QString& customer, const QString& soil)
{
    return QStringLiteral("SELECT mstRNd値計算式.A, mstRNd値計算式.B, mstRNd値計算式.C FROM mstRNd値計算式 "
                          "INNER JOIN mst得意先 ON mstRNd値計算式.計算式コード = mst得意先.Nd値計算式コード "
                          "WHERE (((mst得意先.得意先名)='")
        + literal(customer) + QStringLiteral("') AND ((mstRNd値計算式.土質名)='") + literal(soil)
        + QStringLiteral("'));");
}

QString FormulaSetCache::ndStatement(const QString& customer, const QString& soil)
{
    return QStringLiteral("SELECT mstNd値計算式.A, mstNd値計算式.B, mstNd値計算式.C, mstNd値計算式.D, "
                          "mstNd値計算式.E ")
        + QStringLiteral("FROM mst得意先 INNER JOIN mstNd値計算式 ON mst得意先.qu値計算式コード = "
                         "mstNd値計算式.計算式コード ")
        + QStringLiteral("WHERE (((mst得意先.得意先名)='") + literal(customer)
        + QStringLiteral("') AND ((mstNd値計算式.土質名)='") + literal(soil) + QStringLiteral("'));");
}

QString FormulaSetCache::qaStatement(const QString& customer, const QString& soil)
{
    return QStringLiteral("SELECT mstQa値計算式.計算式コード, mstQa値計算式.A, mstQa値計算式.B, "
                          "mstQa値計算式.C, mstQa値計算式.D, mstQa値計算式.E, mstQa値計算式.F, "
                          "mstQa値計算式.G ")
        + QStringLiteral("FROM mst得意先 INNER JOIN mstQa値計算式 ON mst得意先.Qa値計算式コード = "
                         "mstQa値計算式.計算式コード ")
        + QStringLiteral("WHERE (((mst得意先.得意先名)='") + literal(customer)
        + QStringLiteral("') AND ((mstQa値計算式.土質名)='") + literal(soil) + QStringLiteral("'));");
}

RNdSet FormulaSetCache::lookUpRNd(const QString& customer, const QString& soil)
{
    return lookup(rnd_, customer, soil, &rndStatement, [](const db::RecordSet& rows, RNdSet& set) {
        set.a = coefficient(rows, 0);
        set.b = coefficient(rows, 1);
        set.c = coefficient(rows, 2);
    });
}

NdSet FormulaSetCache::lookUpNd(const QString& customer, const QString& soil)
{
    return lookup(nd_, customer, soil, &ndStatement, [](const db::RecordSet& rows, NdSet& set) {
        set.a = coefficient(rows, 0);
        set.b = coefficient(rows, 1);
        set.c = coefficient(rows, 2);
        set.d = coefficient(rows, 3);
        set.e = coefficient(rows, 4);
    });
}

QaSet FormulaSetCache::lookUpQa(const QString& customer, const QString& soil)
{
    // A lookup that finds no row clears the series code as well: keeping the
    // previous soil's code would hand that series' parameter records to a
    // soil the customer has no bearing capacity formula for.
    return lookup(qa_, customer, soil, &qaStatement, [](const db::RecordSet& rows, QaSet& set) {
        set.code = rows.field(0).toText();
        for (std::size_t i = 0; i < set.coefficients.size(); ++i)
            set.coefficients[i] = coefficient(rows, static_cast<int>(i) + 1);
    });
}

} // namespace vortan::calc
