#pragma once
// The busy state of one piece of work: shown with its message when the scope
// starts, ended (the ordinary cursor back, the status text cleared) when the
// scope is left, whether the work finished, returned early or failed.
//
//   try {
//       BusyScope busy(ui, QStringLiteral("データの保存中..."));
//       ...
//   } catch (const Failure& failure) {   // not busy any more here
//       report(failure);
//   }

#include "core/user_interface.h"

#include <QString>

namespace vortan {

class BusyScope {
public:
    // Not busy until start().
    explicit BusyScope(UserInterface& ui)
        : ui_(ui)
    {
    }
    BusyScope(UserInterface& ui, const QString& message)
        : ui_(ui)
    {
        start(message);
    }
    ~BusyScope() { finish(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    void start(const QString& message)
    {
        ui_.setBusy(message, true);
        busy_ = true;
    }
    // Ends the busy state now, leaving `status` as the status text.
    void finish(const QString& status = QString())
    {
        if (!busy_)
            return;
        busy_ = false;
        ui_.setBusy(status, false);
    }

private:
    UserInterface& ui_;
    bool busy_ = false;
};

} // namespace vortan
