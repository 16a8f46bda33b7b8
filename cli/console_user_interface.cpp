#include "cli/console_user_interface.h"

#include <QByteArray>
#include <QString>

namespace vortan::cli {

namespace {

bool offers(MessageButtons buttons, MessageAnswer answer)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::YesNoCancel:
        return answer == MessageAnswer::Yes || answer == MessageAnswer::No || answer == MessageAnswer::Cancel;
    case MessageButtons::AbortRetryIgnore:
        return answer == MessageAnswer::Abort || answer == MessageAnswer::Retry || answer == MessageAnswer::Ignore;
    }
    return false;
}

} // namespace

ConsoleUserInterface::ConsoleUserInterface(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

void ConsoleUserInterface::printLine(std::FILE* stream, const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

MessageAnswer ConsoleUserInterface::showMessage(const QString& text, MessageIcon, MessageButtons buttons,
                                                MessageAnswer defaultButton, const QString&)
{
    printLine(messagesToError_ ? err_ : out_, text);
    if (fixedAnswer_ && offers(buttons, *fixedAnswer_))
        return *fixedAnswer_;
    return defaultButton;
}

void ConsoleUserInterface::setStatusText(const QString& text)
{
    if (!quiet_ && !text.isEmpty())
        printLine(out_, text);
}

void ConsoleUserInterface::setBusy(const QString&, bool)
{
    // Busy texts are progress for a window; a script does not want them.
}

void ConsoleUserInterface::beep() {}

void ConsoleUserInterface::processEvents() {}

void ConsoleUserInterface::openOptionsDialog(int)
{
    // There is no options dialog: the message already says what to mend.
}

} // namespace vortan::cli
