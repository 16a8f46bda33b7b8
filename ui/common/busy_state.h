#pragma once
// The shared busy indicator of every screen: while busy, the screen shows the
// wait cursor and, when asked to lock, refuses input; when done, it is enabled
// again with its ordinary cursor. Either way the message becomes the status
// text of the main window.

#include <QString>

class QWidget;

namespace vortan {

class UserInterface;

// `form` may be null: then only the status text changes.
void SetBusy(UserInterface& ui, const QString& message, bool busy, QWidget* form, bool lockForm);

} // namespace vortan
