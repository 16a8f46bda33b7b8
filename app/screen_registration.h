#pragma once
// The screens of the program, registered under the toolbar key or menu name
// that opens them from the main window.

#include "app/child_window_registry.h"

namespace vortan::ui {

ChildWindowRegistry ProgramChildWindows();

} // namespace vortan::ui
