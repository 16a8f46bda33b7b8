#pragma once
// The formula editors F_RNd値計算式, F_Nd値計算式 and F_Qa値計算式: one
// formula series at a time, chosen by its code (txt_計算式コード), with the
// soils it covers (vaSpread1_0) and the customers that use it (vaSpread1_1),
// under a toolbar (Toolbar1: "tb_Exit", "tb_New", "tb_Load", "tb_Save",
// "tb_Delete"). The bearing capacity editor adds a tab per parameter group
// (ssTabQa, grids qaSpread_0 .. qaSpread_10) and the rounding mode of φ
// (optDD_0 .. optDD_2). The window shows a FormulaSeriesEditor and forwards
// the user's actions to it.

#include "calc/formula_series_editor.h"

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QToolBar;
class QVBoxLayout;

namespace vortan {
class TextGridModel;
}
namespace vortan::sheet {
class EditorGrid;
}

namespace vortan::calc {

class FormulaEditorWindow : public QWidget {
    Q_OBJECT

public:
    FormulaEditorWindow(FormulaTable table, ProgramState& state, db::Workspace& workspace, UserInterface& ui,
                        QWidget* parent = nullptr);
    ~FormulaEditorWindow() override;

    FormulaSeriesEditor& editor() { return editor_; }

    // Runs a toolbar button by its key.
    void runToolbarCommand(const QString& key);

    QLineEdit* codeField() const { return code_; }
    sheet::EditorGrid* soilGrid() const { return grids_[0]; }
    sheet::EditorGrid* customerGrid() const { return grids_[1]; }
    sheet::EditorGrid* qaGrid(int group) const { return qaGrids_.at(static_cast<std::size_t>(group)); }
    QTabWidget* qaTabs() const { return ssTabQa_; }

    // What to do when the error reporter asks to end the program.
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildQaPart(QVBoxLayout* layout);
    // Shows the editor's state anew in every control.
    void showEditor();
    void markChanged();
    void updateSaveState();
    void handle(EditorOutcome outcome);
    void deleteSoilRows(const std::vector<int>& rows);
    void deleteCustomerRows(const std::vector<int>& rows);
    void soilRowAppended();
    void closeWindow();

    ProgramState& state_;
    UserInterface& ui_;
    FormulaSeriesEditor editor_;
    QToolBar* toolbar_ = nullptr;
    QAction* tbSave_ = nullptr;
    QLineEdit* code_ = nullptr;
    std::array<TextGridModel*, 2> models_{};
    std::array<sheet::EditorGrid*, 2> grids_{};
    QTabWidget* ssTabQa_ = nullptr;
    std::vector<TextGridModel*> qaModels_;
    std::vector<sheet::EditorGrid*> qaGrids_;
    std::array<QRadioButton*, 3> optDD_{};
    std::function<void()> endProgram_;
    bool showing_ = false;
};

} // namespace vortan::calc
