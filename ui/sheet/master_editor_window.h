#pragma once
// MasterEditorWindow, the generic master editor window: one master table in a grid
// (vaSpread1) under a toolbar (Toolbar1: "tb_Exit", "tb_Load", "tb_Save").
// The caption alone decides which table it edits. Each time the window
// becomes active it loads the table again without messages, which drops
// unsaved edits; closing with unsaved edits asks whether to save. In the
// soil master the colour cell is painted in its colour and a button beside
// it picks a new colour.

#include "sheet/master_editor.h"

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QAction;
class QMdiSubWindow;
class QToolBar;
class QWindow;

namespace vortan {
class TextGridModel;
}

namespace vortan::sheet {

class EditorGrid;

class MasterEditorWindow : public QWidget {
    Q_OBJECT

public:
    // `caption` is one of the nine master captions ("姓名マスタの編集", ...).
    MasterEditorWindow(const QString& caption, ProgramState& state, db::Workspace& workspace, UserInterface& ui,
           QWidget* parent = nullptr);
    ~MasterEditorWindow() override;

    MasterEditor& editor() { return editor_; }
    EditorGrid* grid() const { return vaSpread1_; }
    TextGridModel* model() const { return model_; }

    // Runs a toolbar button by its key.
    void runToolbarCommand(const QString& key);
    // What the window does when it becomes active: clears the grid and loads
    // the table without messages.
    void resetOnActivation();
    // Loads with messages ("tb_Load").
    void loadWithMessages();
    // Opens the colour chooser for the soil of `row` and puts the chosen
    // colour into its colour cell.
    void chooseColour(int row);

    // How a colour is chosen (a colour dialog by default); nothing when the
    // user cancelled. Tests script it.
    void setColourChooser(std::function<std::optional<QColor>(const QColor& initial)> chooser);
    // What to do when the error reporter asks to end the program.
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void refreshGrid();
    void refreshColourButtons();
    void markChanged();
    void updateSaveState();
    void handle(calc::EditorOutcome outcome);
    void deleteRows(std::vector<int> rows);
    void watchActivation();
    void watchTopLevelActivation();

    ProgramState& state_;
    UserInterface& ui_;
    MasterEditor editor_;
    QToolBar* toolbar_ = nullptr;
    QAction* tbSave_ = nullptr;
    TextGridModel* model_ = nullptr;
    EditorGrid* vaSpread1_ = nullptr;
    int colourColumn_ = -1;
    int buttonColumn_ = -1;
    std::function<std::optional<QColor>(const QColor&)> chooser_;
    std::function<void()> endProgram_;
    QPointer<QMdiSubWindow> frame_;
    QPointer<QWindow> previousFocus_;
    bool activationWatched_ = false;
    bool closing_ = false;
};

} // namespace vortan::sheet
