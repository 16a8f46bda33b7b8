#include "core/qt_user_interface_widget.h"

#include <QApplication>
#include <QMessageBox>
#include <QStatusBar>
#include <QWidget>

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
    case MessageAnswer::Ok:
        break;
    }
    return QMessageBox::Ok;
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

MessageAnswer QtUserInterface::showMessage(const QString& text, MessageIcon icon,
                                           MessageButtons buttons, MessageAnswer defaultButton,
                                           const QString& title)
{
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    MessageAnswer escapeAnswer = MessageAnswer::Ok;
    switch (buttons) {
    case MessageButtons::Ok:
        standard = QMessageBox::Ok;
        escapeAnswer = MessageAnswer::Ok;
        break;
    case MessageButtons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        escapeAnswer = MessageAnswer::No;
        break;
    case MessageButtons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escapeAnswer = MessageAnswer::Cancel;
        break;
    }

    QMessageBox box(boxIcon(icon), title.isEmpty() ? programTitle() : title, text, standard,
                    parent_);
    box.setTextFormat(Qt::PlainText);
    if (standard.testFlag(boxButton(defaultButton)))
        box.setDefaultButton(boxButton(defaultButton));
    box.setEscapeButton(boxButton(escapeAnswer));
    box.exec();

    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        return escapeAnswer;
    }
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
