#pragma once
// Driving a screen in a window test as a user does: find a control by its
// name, type into it, and deal with the next modal window when it comes up.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace vortan::test {

// The control named `name` under `screen`; a test failure when there is none.
template <typename T>
T* control(const QObject& screen, const QString& name)
{
    T* found = screen.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

// Key events for each character (Japanese ones as the input method delivers them).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

// Types into a text field as a user does: everything selected, then typed over.
inline void typeInto(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        typeText(field, text);
}

// Runs `inspect` on the next modal window once it is up, then closes it.
inline void onNextModal(const std::function<void(QWidget*)>& inspect)
{
    QTimer::singleShot(10, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            onNextModal(inspect);
            return;
        }
        inspect(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
}

} // namespace vortan::test
