#pragma once
// The coefficient lookups of the three formula tables. A customer row of
// mst得意先 binds one series per table; a series holds one coefficient row per
// soil. Each table has a one-entry cache in front of it: a lookup for the same
// customer and soil as the previous one is answered without a query, unless a
// formula or master editor has saved since the program started (the state's
// FormulaChangeNotice says so).

#include <QMetaObject>
#include <QString>
#include <array>
#include <memory>

namespace vortan {
class FormulaChangeNotice;
struct ProgramState;
}
namespace vortan::db {
class Workspace;
}

namespace vortan::calc {

// ⊿Nd = A + B·Mv^C
struct RNdSet {
    float a = 0, b = 0, c = 0;
};

// Nd = A + B·Ndm^C − D·⊿Nd^E
struct NdSet {
    float a = 0, b = 0, c = 0, d = 0, e = 0;
    bool allZero() const { return a == 0 && b == 0 && c == 0 && d == 0 && e == 0; }
};

// The bearing capacity series: its code picks the records of qaTbl.tbl; the
// coefficients A..G enter no formula. An empty code with A..G all zero means
// the customer has no bearing capacity formula for the soil.
struct QaSet {
    QString code;
    std::array<float, 7> coefficients{};
    bool isNone() const;
};

class FormulaSetCache {
public:
    // The cache listens to the state's formula change notice from here on.
    FormulaSetCache(db::Workspace& workspace, const ProgramState& state);
    ~FormulaSetCache();
    FormulaSetCache(const FormulaSetCache&) = delete;
    FormulaSetCache& operator=(const FormulaSetCache&) = delete;

    // Each returns the coefficients of the customer's series for the soil,
    // zeros when no row matches. A failing query throws Failure and leaves the
    // cache entry as it was.
    RNdSet lookUpRNd(const QString& customer, const QString& soil);
    NdSet lookUpNd(const QString& customer, const QString& soil);
    QaSet lookUpQa(const QString& customer, const QString& soil);

    // The statements the lookups issue.
    static QString rndStatement(const QString& customer, const QString& soil);
    static QString ndStatement(const QString& customer, const QString& soil);
    static QString qaStatement(const QString& customer, const QString& soil);

private:
    template <typename Set>
    struct Entry {
        QString customer;
        QString soil;
        Set set;
    };

    // The entry's set, queried again (with `statement`, its first row read by
    // `readRow`, a default set when no row matches) unless the entry already
    // holds this customer and soil and no editor has saved since.
    // The statement is built only when it runs: a recalculation asks once
    // per row and nearly always finds the entry.
    template <typename Set, typename ReadRow>
    Set lookup(Entry<Set>& entry, const QString& customer, const QString& soil,
               QString (*statement)(const QString&, const QString&), ReadRow readRow);

    db::Workspace& workspace_;
    std::shared_ptr<FormulaChangeNotice> notice_;
    QMetaObject::Connection listening_;
    bool formulasChanged_ = false;  // once heard, every lookup queries
    Entry<RNdSet> rnd_;
    Entry<NdSet> nd_;
    Entry<QaSet> qa_;
};

} // namespace vortan::calc
