#pragma once
// The screens the main window can open, by the key of the toolbar button or
// menu item that opens them ("tb_DataSheet", "mnu_プロパティ"). Each entry
// says how to create the screen and whether it opens as a child of the
// multi-document area or as a modal dialog. A button or menu item whose key
// has no entry stays disabled, so screens can be added one at a time.

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class QWidget;

namespace vortan {
struct ProgramState;
class SettingsStore;
class UserInterface;
namespace db {
class Workspace;
}
} // namespace vortan

namespace vortan::ui {

class MainWindow;

// What a screen gets when it is created: the shared state of the run and the
// main window (to open other screens and to show busy states).
struct ChildWindowContext {
    ProgramState& state;
    SettingsStore& store;
    db::Workspace& workspace;
    UserInterface& ui;
    MainWindow& mainWindow;
};

enum class ChildPresentation {
    MdiChild,     // a window inside the main window, shown and brought to the front
    ModalDialog,  // a top-level dialog shown modally (a QDialog runs exec())
};

struct ChildWindowEntry {
    // Creates the screen without showing it. The main window takes ownership.
    std::function<QWidget*(const ChildWindowContext&)> create;
    ChildPresentation presentation = ChildPresentation::MdiChild;
    // Optional: runs once while the main window loads, after the databases
    // are open (the master editors' own set-up). The main window creates the
    // screen first when needed.
    std::function<void(QWidget*, const ChildWindowContext&)> setUpAtLoad;
};

class ChildWindowRegistry {
public:
    // Adds or replaces the entry of `key`.
    void add(const QString& key, ChildWindowEntry entry);
    // Shorthand for a child of the multi-document area without a load step.
    void addMdiChild(const QString& key, std::function<QWidget*(const ChildWindowContext&)> create);

    bool contains(const QString& key) const;
    // The entry of `key`, nullptr when none.
    const ChildWindowEntry* find(const QString& key) const;
    QStringList keys() const;

private:
    std::map<QString, ChildWindowEntry> entries_;
};

} // namespace vortan::ui
