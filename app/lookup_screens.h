#pragma once
// How the main window makes the survey search, the options dialog and the
// address picker: each wired to the other screens it talks to (the search
// opens surveys on the data sheet, the options dialog clears the data sheet
// after confirming, the data sheet and the search open the address picker).

#include "app/child_window_registry.h"

#include <functional>
#include <optional>

namespace vortan::db {
struct MasterLists;
}

namespace vortan::ui {

// SurveySearchWindow for the toolbar key "tb_Find".
QWidget* CreateSearchWindow(const ChildWindowContext& context, db::MasterLists& lists);

// OptionsDialog for the menu item "mnu_プロパティ", a modal dialog; the
// error reporter reaches it through the main window's openOptionsDialog.
ChildWindowEntry OptionsDialogEntry(std::function<db::MasterLists&()> lists);

// The address picker for a screen's address button: AddressPickerDialog over the postal
// database, parented to `parent`; the composed address, or nothing.
std::function<std::optional<QString>()> AddressPickerFor(const ChildWindowContext& context, QWidget* parent);

} // namespace vortan::ui
