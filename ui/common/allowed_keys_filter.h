#pragma once
// A key filter for text boxes that accept only some characters: a typed
// character outside the allowed set is swallowed and the bell rings, as the
// number boxes of the program behave. Backspace and the other control keys
// (Ctrl+C, Ctrl+V, the arrows) pass; text committed by an input method is
// refused whole when it holds a character outside the set. Pasting is not
// filtered: the commands that read the box check its text.

#include <QObject>
#include <QString>

namespace vortan {

class UserInterface;

class AllowedKeysFilter : public QObject {
    Q_OBJECT
public:
    AllowedKeysFilter(QString allowed, UserInterface& ui, QObject* parent = nullptr);

    // Installs a filter allowing `allowed` on `box`; the box owns it.
    static AllowedKeysFilter* install(QObject* box, const QString& allowed, UserInterface& ui);

    bool accepts(const QString& typed) const { return accepts(allowed_, typed); }
    // Does `typed` hold only characters of `allowed` (control characters aside)?
    static bool accepts(const QString& allowed, const QString& typed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString allowed_;
    UserInterface& ui_;
};

// The sets of the program's boxes.
inline const QString DigitsAndPoint = QStringLiteral("0123456789.");
inline const QString DigitsAndColon = QStringLiteral("0123456789:");
inline const QString DigitsSlashAndColon = QStringLiteral("0123456789/:");
// Numbers of the data sheet: depths, blow counts, torques, heights.
inline const QString Digits = QStringLiteral("0123456789");
inline const QString SignedDecimal = QStringLiteral("0123456789.-");

} // namespace vortan
