#pragma once
// The user interface of the window program: message boxes, the main window's
// status bar, the wait cursor, the bell, and the options dialog through a
// hook that the main window sets.

#include "core/user_interface.h"

#include <QPointer>
#include <functional>

class QStatusBar;
class QWidget;

namespace vortan {

class QtUserInterface : public UserInterface {
public:
    // `parent` owns the message boxes (may be null).
    explicit QtUserInterface(QWidget* parent = nullptr);

    void setParentWidget(QWidget* parent) { parent_ = parent; }
    // The status bar whose text setStatusText and setBusy change.
    void setStatusBar(QStatusBar* statusBar) { statusBar_ = statusBar; }
    // The widget that shows the wait cursor while busy (the parent when unset).
    void setBusyWidget(QWidget* widget) { busyWidget_ = widget; }
    void setOptionsDialogOpener(std::function<void(int tab)> opener);
    void setAboutWindowCloser(std::function<void()> closer);

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

    // The title of a message box given no title: the application name, else "Vortan".
    static QString programTitle();
    // The text of the button that gives `answer`: "はい", "いいえ", "キャンセル", ...
    static QString buttonText(MessageAnswer answer);

private:
    QPointer<QWidget> parent_;
    QPointer<QStatusBar> statusBar_;
    QPointer<QWidget> busyWidget_;
    std::function<void(int)> optionsOpener_;
    std::function<void()> aboutCloser_;
};

} // namespace vortan
