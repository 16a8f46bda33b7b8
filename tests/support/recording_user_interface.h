#pragma once
// A user interface for tests: it records every message box, status text,
// busy call, beep and options-dialog request, and answers questions from a
// queue of scripted answers (the default button when the queue is empty).

#include "core/user_interface.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace vortan::test {

struct RecordedMessage {
    QString text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultButton = MessageAnswer::Ok;
    QString title;
    MessageAnswer answer = MessageAnswer::Ok;   // what the fake answered
};

struct RecordedBusy {
    QString message;
    bool busy = false;
};

class RecordingUserInterface : public UserInterface {
public:
    MessageAnswer showMessage(const QString& text, MessageIcon icon,
                              MessageButtons buttons = MessageButtons::Ok,
                              MessageAnswer defaultButton = MessageAnswer::Ok,
                              const QString& title = QString()) override;
    void setStatusText(const QString& text) override;
    void setBusy(const QString& message, bool busy) override;
    void beep() override;
    void processEvents() override;
    void openOptionsDialog(int tab) override;
    void closeAboutWindow() override;

    // Scripts the answer of the next question (answers are used in order).
    void queueAnswer(MessageAnswer answer);

    const std::vector<RecordedMessage>& messages() const { return messages_; }
    // The last message; an empty record when there was none.
    RecordedMessage lastMessage() const;
    // The texts of all messages, in order.
    QStringList messageTexts() const;

    // Every text put into the status bar, by setStatusText and setBusy alike.
    const QStringList& statusTexts() const { return statusTexts_; }
    const QString& statusText() const { return statusText_; }
    const std::vector<RecordedBusy>& busyCalls() const { return busyCalls_; }
    bool isBusy() const { return busy_; }

    int beepCount() const { return beeps_; }
    int processEventsCount() const { return processEventsCalls_; }
    const std::vector<int>& optionsDialogTabs() const { return optionsTabs_; }
    int aboutWindowCloseCount() const { return aboutCloses_; }

    // Forgets everything recorded and every queued answer.
    void clear();

private:
    std::deque<MessageAnswer> answers_;
    std::vector<RecordedMessage> messages_;
    QStringList statusTexts_;
    QString statusText_;
    std::vector<RecordedBusy> busyCalls_;
    bool busy_ = false;
    int beeps_ = 0;
    int processEventsCalls_ = 0;
    std::vector<int> optionsTabs_;
    int aboutCloses_ = 0;
};

} // namespace vortan::test
