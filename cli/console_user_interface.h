#pragma once
// The user interface of vortan-cli: message texts and status texts are
// printed as UTF-8 lines, busy texts are not, and questions take their
// default button unless a fixed answer was set (for example by --yes).

#include "core/user_interface.h"

#include <cstdio>
#include <optional>

namespace vortan::cli {

class ConsoleUserInterface : public UserInterface {
public:
    explicit ConsoleUserInterface(std::FILE* out = stdout, std::FILE* err = stderr);

    // Messages go to the error stream while set (the reporter's messages of
    // a failing command); otherwise to the output stream.
    void setMessagesToErrorStream(bool toError) { messagesToError_ = toError; }
    // Every question takes this answer instead of its default button.
    void setFixedAnswer(std::optional<MessageAnswer> answer) { fixedAnswer_ = answer; }
    // Status texts are not printed while set.
    void setQuiet(bool quiet) { quiet_ = quiet; }

    MessageAnswer showMessage(const QString& text, MessageIcon icon,
                              MessageButtons buttons = MessageButtons::Ok,
                              MessageAnswer defaultButton = MessageAnswer::Ok,
                              const QString& title = QString()) override;
    void setStatusText(const QString& text) override;
    void setBusy(const QString& message, bool busy) override;
    void beep() override;
    void processEvents() override;
    void openOptionsDialog(int tab) override;

private:
    void printLine(std::FILE* stream, const QString& text);

    std::FILE* out_;
    std::FILE* err_;
    bool messagesToError_ = false;
    bool quiet_ = false;
    std::optional<MessageAnswer> fixedAnswer_;
};

} // namespace vortan::cli
