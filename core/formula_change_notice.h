#pragma once
// The word a formula or master editor gives after it has saved: the
// coefficient caches must read the formula tables again from then on. It is
// given at most once in a program run and stays given, so a cache made later
// starts out knowing it and a cache alive at the time hears changed().

#include <QObject>

namespace vortan {

class FormulaChangeNotice : public QObject {
    Q_OBJECT
public:
    bool given() const { return given_; }

    // Marks the formulas changed and tells every listening cache.
    void give();

signals:
    void changed();

private:
    bool given_ = false;
};

} // namespace vortan
