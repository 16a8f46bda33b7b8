#include "ui/common/busy_state.h"

#include "core/user_interface.h"

#include <QWidget>

namespace vortan {

void SetBusy(UserInterface& ui, const QString& message, bool busy, QWidget* form, bool lockForm)
{
    if (form) {
        if (busy) {
            if (lockForm)
                form->setEnabled(false);
            form->setCursor(Qt::WaitCursor);
        } else {
            form->setEnabled(true);
            form->unsetCursor();
        }
    }
    ui.setStatusText(message);
}

} // namespace vortan
