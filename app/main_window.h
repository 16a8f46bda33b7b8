#pragma once
// F_MDIForm, the program's main window: a multi-document frame whose children
// are the other screens, with the toolbar Toolbar1 and the menus that open
// them, the status bar whose first panel carries the status texts of every
// screen, the opening and closing of both databases, the database repair,
// and the help, version, update and remote-support commands.
//
// Screens come from a ChildWindowRegistry keyed by the toolbar key or menu
// name that opens them; each is created on first use and kept, and opening
// it again shows it and brings it to the front. Buttons and menu items whose
// screen is not registered are disabled.
//
// The 編集 menu undoes and redoes the steps of the active screen (one that
// registered its undo history); the ウィンドウ menu lists the open screens.
// The window comes back at the size, place and maximised state it had when
// the program last ended.

#include "app/child_window_registry.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QUndoGroup>
#include <QString>
#include <QStringView>
#include <functional>

class QAction;
class QMdiArea;
class QMenu;
class QUndoStack;
class QMdiSubWindow;
class QToolBar;

namespace vortan {

inline constexpr auto ProgramTitle = "大型動的コーン貫入試験データ処理";
// The program's short title: the settings' application name, and the head
// of the about window's caption.
inline constexpr auto ApplicationTitle = "Vortan";

class Failure;
class QtUserInterface;
struct ProgramState;
class SettingsStore;
class UserInterface;
namespace db {
class Workspace;
}

namespace ui {

class AboutDialog;
class StatusPanelBar;

// The keys of the master editor instances 1 to 9, in the order the main
// window sets them up while loading.
QStringList MasterEditorKeys();

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Everything that leaves the program: tests replace them.
    struct DesktopActions {
        // Opens the manual of the settings folder; throws Failure when it cannot.
        std::function<void(QStringView settingsFolder)> openManual;
        // Hands a web address to the desktop; false when refused.
        std::function<bool(const QString& address)> openWebAddress;
        // Ends the program at once (no settings written, no database closed).
        std::function<void()> endProgram;
        // The Access file and the new database of the old-database import;
        // empty when the user cancelled (see migrate/legacy_import_command.h).
        std::function<QString(QWidget* parent)> chooseAccessFile;
        std::function<QString(QWidget* parent, const QString& suggested)> chooseNewDatabase;
    };
    static DesktopActions platformDesktopActions();

    MainWindow(SettingsStore& store, ProgramState& state, db::Workspace& workspace,
                  UserInterface& ui, ChildWindowRegistry registry, QWidget* parent = nullptr);
    ~MainWindow() override;

    void setDesktopActions(DesktopActions actions);

    // Lets the window program's user interface show its texts in panel 1,
    // parent its message boxes, open the options dialog and close the about
    // window through this window.
    void connectUserInterface(QtUserInterface& ui);

    // Centres the window on its screen, shows it and runs the load: settings,
    // both databases, the schema check, the help file, the master editors'
    // set-up, the print window's zoom, and the data sheet with the focus in
    // its survey number. A failure is reported and ends the load at its step.
    // Returns false when the reporter said to end the program.
    bool showAndLoad();
    void centreOnScreen();

    // Opens the screen of `key`: creates it on first use, shows it and brings
    // it to the front (a modal dialog runs until closed). `beforeShow` runs
    // after creation and before showing. Returns the screen, or nullptr when
    // the key has no screen or creating it failed (the failure is reported).
    QWidget* openChild(const QString& key, const std::function<void(QWidget*)>& beforeShow = {});
    // The screen of `key` when it exists, else nullptr; never creates one.
    QWidget* childWindow(const QString& key) const;
    // The multi-document frame around a child screen, nullptr for a dialog.
    QMdiSubWindow* subWindowOf(const QString& key) const;
    // The screen of `key`, created (not shown) when it does not exist yet.
    QWidget* ensureChild(const QString& key);
    const ChildWindowRegistry& registry() const { return registry_; }

    // The undo history of a screen: the 編集 menu works on it while the
    // screen is the active one.
    void registerUndoStack(QWidget* child, QUndoStack* stack);
    QUndoGroup& undoGroup() { return undoGroup_; }

    // The shared busy indicator; `form` defaults to this window.
    void SetBusy(const QString& message, bool busy, QWidget* form = nullptr, bool lockForm = false);

    // Shows the options dialog on the tab at the 1-based position.
    void openOptionsDialog(int tab);
    void closeAboutWindow();
    // The about window while it is shown, else nullptr.
    AboutDialog* aboutWindow() const;

    QMdiArea* mdiArea() const { return mdiArea_; }
    QToolBar* toolBar() const { return toolBar_; }
    StatusPanelBar* statusPanelBar() const { return statusBar_; }
    QAction* commandAction(const QString& key) const;
    QString statusText() const;
    int statusPanelWidth() const;
    QString helpFile() const { return helpFile_; }
    bool loaded() const { return loaded_; }

    // Ends the program at once, as the error reporter's answer 3 asks: no
    // settings are written and no database is closed.
    void endProgram();

    // The commands of the toolbar and the menus.
    void runToolbarCommand(const QString& key);
    void repairDatabases();
    // ファイル → 旧データベースの取り込み...: an old Access survey database
    // into a new survey database.
    void importLegacyDatabase();
    void openManual();
    void showVersion();
    void openUpdatePage();
    void openRemoteSupport();
    void tileHorizontally();
    void tileVertically();
    void cascade();
    void arrangeIcons();

    // The size, place and maximised state the settings file remembers (its
    // section "window"); the window stays where it is when it remembers
    // none, or a place on no screen.
    void restoreRememberedGeometry();
    // Puts the window's size, place and maximised state into the settings
    // store, which the close writes.
    void rememberGeometry();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ChildWindowContext context();
    void buildToolBar();
    void buildMenus();
    void listOpenWindows(QMenu* menu);
    QAction* addCommand(const QString& key, const QString& text);
    void updateCommandStates();
    void runLoadSteps();
    // At start-up, before the survey database is opened: an old Access file
    // at データ位置 is offered for migration instead of being opened.
    void offerLegacyMigration(SettingsStore& store, ProgramState& state);
    // openChild without the report: failures reach the caller.
    QWidget* showChild(const QString& key, const std::function<void(QWidget*)>& beforeShow);
    // Reports a failure caught by a command; ends the program on action 3.
    void report(const Failure& failure);
    void openWebPage(const QString& host, const QString& path, const QString& notConfigured);
    QList<QMdiSubWindow*> arrangeableWindows() const;

    SettingsStore& store_;
    ProgramState& state_;
    db::Workspace& workspace_;
    UserInterface& ui_;
    ChildWindowRegistry registry_;
    DesktopActions desktop_;

    QMdiArea* mdiArea_;
    QToolBar* toolBar_ = nullptr;
    StatusPanelBar* statusBar_;
    QHash<QString, QAction*> actions_;
    QHash<QString, QPointer<QWidget>> children_;
    QUndoGroup undoGroup_;
    QHash<QWidget*, QUndoStack*> undoStacks_;
    QList<QAction*> windowListActions_;
    QPointer<AboutDialog> about_;
    QString helpFile_;
    bool loaded_ = false;
    bool ended_ = false;
    bool endAfterLoad_ = false;
    bool closed_ = false;
};

} // namespace ui
} // namespace vortan
