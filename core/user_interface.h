#pragma once
// The one way domain code talks to the user: message boxes, the status text
// and busy state of the main window, the bell, letting pending window events
// run, and opening the options dialog on a tab. The window program implements
// it with QMessageBox and the main window; tests use a recording fake; the
// command-line program prints.

#include <QString>

namespace vortan {

enum class MessageIcon { None, Information, Question, Exclamation, Critical };
// Every button shows its Japanese text: OK, はい, いいえ, キャンセル, and 中止,
// 再試行, 無視 for a step that failed and may be tried again or skipped.
enum class MessageButtons { Ok, YesNo, YesNoCancel, AbortRetryIgnore };
enum class MessageAnswer { Ok, Yes, No, Cancel, Abort, Retry, Ignore };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Shows a message box and returns the button pressed. An empty title means
    // the program's own title.
    virtual MessageAnswer showMessage(const QString& text, MessageIcon icon,
                                      MessageButtons buttons = MessageButtons::Ok,
                                      MessageAnswer defaultButton = MessageAnswer::Ok,
                                      const QString& title = QString()) = 0;

    // Text of the first panel of the main window's status bar.
    virtual void setStatusText(const QString& text) = 0;

    // The shared busy indicator: the status text and, while busy, the wait cursor.
    virtual void setBusy(const QString& message, bool busy) = 0;

    virtual void beep() = 0;

    // Lets queued window events run once (long loops call it between records).
    virtual void processEvents() = 0;

    // Shows the options dialog and selects its tab at the 1-based position.
    virtual void openOptionsDialog(int tab) = 0;

    // Closes the about window when it is open.
    virtual void closeAboutWindow() {}
};

} // namespace vortan
