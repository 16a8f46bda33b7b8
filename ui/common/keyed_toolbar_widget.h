#pragma once
// The toolbar `Toolbar1` of the editing windows: text buttons whose object
// names are their keys ("tb_Save"), each click handed to the window's
// dispatcher with the key, as the windows dispatch their toolbar commands.

#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QToolBar;
class QWidget;

namespace vortan {

struct ToolbarButton {
    QString key;    // object name of the action: "tb_Exit", "tb_Save", ...
    QString text;   // caption shown on the button
};

// Creates the toolbar with its buttons in order; `onClick` receives the key.
QToolBar* CreateKeyedToolbar(QWidget* parent, const std::vector<ToolbarButton>& buttons,
                             std::function<void(const QString& key)> onClick);

} // namespace vortan
