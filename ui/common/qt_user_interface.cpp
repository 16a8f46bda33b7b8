#include "ui/common/qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>
#include <vector>

namespace vortan {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton boxButton(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Abort:
        return QMessageBox::Abort;
    case MessageAnswer::Retry:
        return QMessageBox::Retry;
    case MessageAnswer::Ignore:
        return QMessageBox::Ignore;
    case MessageAnswer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// The buttons of a question, in the order they stand, and the answer of
// Escape or of closing the box.
struct ButtonSet {
    std::vector<MessageAnswer> answers;
    MessageAnswer escape;
};

ButtonSet buttonSet(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::YesNo:
        return {{MessageAnswer::Yes, MessageAnswer::No}, MessageAnswer::No};
    case MessageButtons::YesNoCancel:
        return {{MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel}, MessageAnswer::Cancel};
    case MessageButtons::AbortRetryIgnore:
        return {{MessageAnswer::Abort, MessageAnswer::Retry, MessageAnswer::Ignore}, MessageAnswer::Abort};
    }
    return {{MessageAnswer::Ok}, MessageAnswer::Ok};
}

} // namespace

QtUserInterface::QtUserInterface(QWidget* parent) : parent_(parent) {}

void QtUserInterface::setOptionsDialogOpener(std::function<void(int)> opener)
{
    optionsOpener_ = std::move(opener);
}

void QtUserInterface::setAboutWindowCloser(std::function<void()> closer)
{
    aboutCloser_ = std::move(closer);
}

QString QtUserInterface::programTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Vortan") : name;
}

QString QtUserInterface::buttonText(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Yes:
        return QStringLiteral("はい");
    case MessageAnswer::No:
        return QStringLiteral("いいえ");
    case MessageAnswer::Cancel:
        return QStringLiteral("キャンセル");
    case MessageAnswer::Abort:
        return QStringLiteral("中止");
    case MessageAnswer::Retry:
        return QStringLiteral("再試行");
    case MessageAnswer::Ignore:
        return QStringLiteral("無視");
    case MessageAnswer::Ok:
        break;
    }
    return QStringLiteral("OK");
}

MessageAnswer QtUserInterface::showMessage(const QString& text, MessageIcon icon,
                                           MessageButtons buttons, MessageAnswer defaultButton,
                                           const QString& title)
{
    const ButtonSet set = buttonSet(buttons);
    QMessageBox::StandardButtons standard;
    for (MessageAnswer answer : set.answers)
        standard |= boxButton(answer);

    QMessageBox box(boxIcon(icon), title.isEmpty() ? programTitle() : title, text, standard,
                    parent_);
    box.setTextFormat(Qt::PlainText);
    // The button texts are the program's own, whatever language the
    // toolkit's translations give.
    for (MessageAnswer answer : set.answers)
        box.button(boxButton(answer))->setText(buttonText(answer));
    if (standard.testFlag(boxButton(defaultButton)))
        box.setDefaultButton(boxButton(defaultButton));
    box.setEscapeButton(boxButton(set.escape));
    box.exec();

    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (MessageAnswer answer : set.answers)
        if (boxButton(answer) == clicked)
            return answer;
    return set.escape;
}

void QtUserInterface::setStatusText(const QString& text)
{
    if (statusBar_)
        statusBar_->showMessage(text);
}

void QtUserInterface::setBusy(const QString& message, bool busy)
{
    QWidget* widget = busyWidget_ ? busyWidget_.data() : parent_.data();
    if (widget) {
        if (busy)
            widget->setCursor(Qt::WaitCursor);
        else
            widget->unsetCursor();
    }
    setStatusText(message);
}

void QtUserInterface::beep()
{
    QApplication::beep();
}

void QtUserInterface::processEvents()
{
    QCoreApplication::processEvents();
}

void QtUserInterface::openOptionsDialog(int tab)
{
    if (optionsOpener_)
        optionsOpener_(tab);
}

void QtUserInterface::closeAboutWindow()
{
    if (aboutCloser_)
        aboutCloser_();
}

} // namespace vortan
