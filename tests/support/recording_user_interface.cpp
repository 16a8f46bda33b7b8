#include "recording_user_interface.h"

namespace vortan::test {

MessageAnswer RecordingUserInterface::showMessage(const QString& text, MessageIcon icon,
                                                  MessageButtons buttons,
                                                  MessageAnswer defaultButton, const QString& title)
{
    MessageAnswer answer = defaultButton;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messages_.push_back(RecordedMessage{text, icon, buttons, defaultButton, title, answer});
    return answer;
}

void RecordingUserInterface::setStatusText(const QString& text)
{
    statusText_ = text;
    statusTexts_.append(text);
}

void RecordingUserInterface::setBusy(const QString& message, bool busy)
{
    busyCalls_.push_back(RecordedBusy{message, busy});
    busy_ = busy;
    statusText_ = message;
    statusTexts_.append(message);
}

void RecordingUserInterface::beep()
{
    ++beeps_;
}

void RecordingUserInterface::processEvents()
{
    ++processEventsCalls_;
}

void RecordingUserInterface::openOptionsDialog(int tab)
{
    optionsTabs_.push_back(tab);
}

void RecordingUserInterface::closeAboutWindow()
{
    ++aboutCloses_;
}

void RecordingUserInterface::queueAnswer(MessageAnswer answer)
{
    answers_.push_back(answer);
}

RecordedMessage RecordingUserInterface::lastMessage() const
{
    return messages_.empty() ? RecordedMessage{} : messages_.back();
}

QStringList RecordingUserInterface::messageTexts() const
{
    QStringList texts;
    for (const RecordedMessage& message : messages_)
        texts.append(message.text);
    return texts;
}

void RecordingUserInterface::clear()
{
    *this = RecordingUserInterface();
}

} // namespace vortan::test
