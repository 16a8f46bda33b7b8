#include "ui/common/allowed_keys_filter.h"

#include "core/user_interface.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace vortan {

AllowedKeysFilter::AllowedKeysFilter(QString allowed, UserInterface& ui, QObject* parent)
    : QObject(parent), allowed_(std::move(allowed)), ui_(ui)
{
}

AllowedKeysFilter* AllowedKeysFilter::install(QObject* box, const QString& allowed, UserInterface& ui)
{
    auto* filter = new AllowedKeysFilter(allowed, ui, box);
    box->installEventFilter(filter);
    return filter;
}

bool AllowedKeysFilter::accepts(const QString& allowed, const QString& typed)
{
    for (const QChar c : typed) {
        // Control characters (Backspace, Ctrl+V, ...) are keys, not text.
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            continue;
        if (!allowed.contains(c))
            return false;
    }
    return true;
}

bool AllowedKeysFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!accepts(key->text())) {
            ui_.beep();
            return true;
        }
    } else if (event->type() == QEvent::InputMethod) {
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (!accepts(input->commitString())) {
            ui_.beep();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vortan
