#pragma once
// One field value of a record set: Null, a whole number, a floating number or a text.

#include <QString>
#include <QVariant>

namespace vortan::db {

class Value {
public:
    Value() = default;                       // Null
    explicit Value(qint64 v) : v_(v) {}
    explicit Value(double v) : v_(v) {}
    explicit Value(QString v) : v_(std::move(v)) {}

    bool isNull() const { return !v_.isValid(); }
    bool isNumber() const;
    // The value as text: Null gives the empty text, numbers their shortest
    // decimal text (a whole number without a decimal point).
    QString toText() const;
    // The value as a number by the leading-number rule (Null gives 0).
    double toNumber() const;
    const QVariant& variant() const { return v_; }

private:
    QVariant v_;
};

} // namespace vortan::db
