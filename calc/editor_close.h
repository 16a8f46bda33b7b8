#pragma once
// What a formula or master editor does with its unsaved changes when it is
// about to close, and with an outcome that ends the program.

#include "calc/editor_outcome.h"

#include <functional>

namespace vortan {
class UserInterface;
}

namespace vortan::calc {

// Ends the program when `outcome` says so: through `endProgram`, or without
// one by leaving the event loop.
void endProgramOn(EditorOutcome outcome, const std::function<void()>& endProgram);

// With unsaved changes, asks whether to save them (Yes, No, Cancel; Cancel by
// default). Yes saves through `save`, and the editor stays open when the save
// is not done; No closes without saving; Cancel keeps the editor open.
// Returns whether the editor may close.
bool mayCloseEditor(UserInterface& ui, bool unsavedChanges, const std::function<EditorOutcome()>& save,
                    const std::function<void()>& endProgram);

} // namespace vortan::calc
