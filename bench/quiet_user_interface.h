#pragma once
// The user interface of the benchmarks: every question takes its default
// answer, status texts and busy states go nowhere, and a message (which a
// benchmark run should never see) is printed on standard error so that a
// figure measured past a failure is not taken for a real one.

#include "core/user_interface.h"

#include <QCoreApplication>
#include <cstdio>

namespace vortan {

class QuietUserInterface : public UserInterface {
public:
    // `processEvents`: let queued events run when the program asks to (the
    // print preview benchmark needs its widgets to paint).
    explicit QuietUserInterface(bool processEvents = false) : processEvents_(processEvents) {}

    MessageAnswer showMessage(const QString& text, MessageIcon, MessageButtons, MessageAnswer answer,
                              const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
        return answer;
    }
    void setStatusText(const QString&) override {}
    void setBusy(const QString&, bool) override {}
    void beep() override {}
    void processEvents() override
    {
        if (processEvents_)
            QCoreApplication::processEvents();
    }
    void openOptionsDialog(int) override {}

private:
    bool processEvents_;
};

} // namespace vortan
