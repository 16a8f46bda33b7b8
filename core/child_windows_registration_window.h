#pragma once
// The screens of the program, registered under the toolbar key or menu name
// that opens them from the main window.

#include "core/child_window_registry_widget.h"

namespace vortan::ui {

ChildWindowRegistry ProgramChildWindows();

} // namespace vortan::ui
