#pragma once
// The data sheet DataSheetWindow: one survey site on screen, its header fields at
// the top, the points grid (vaSpread1) over the data grid of the selected
// point (vaSpread2), and at the right the lists of point remarks (lst記事1),
// record remarks (lst記事2) and soils (lst土質) that follow the active cell.
// The survey itself is the survey document: the window shows it through item
// models and forwards the user's actions to it; edits of the grids go through
// a survey editor, so that each is one step of the undo history.

// The survey document's header is kept away from moc (its Japanese
// identifiers are beyond moc's reader): the window declares what it needs.
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolBar;
class QUndoStack;

namespace vortan {
struct ProgramState;
class UserInterface;
}
namespace vortan::db {
class Workspace;
struct MasterLists;
}

namespace vortan::sheet {

class SurveyDocument;
enum class HeaderField;
enum class Outcome;
struct InvalidInput;
class PointsTableModel;
class RecordsTableModel;
class SheetGrid;
class SurveyEditor;

class DataSheetWindow : public QWidget {
    Q_OBJECT

public:
    // `document` must be built over the same state, workspace, lists and
    // user interface; it outlives the window.
    DataSheetWindow(ProgramState& state, db::Workspace& workspace, db::MasterLists& lists, UserInterface& ui,
                SurveyDocument& document, QWidget* parent = nullptr);
    ~DataSheetWindow() override;

    SurveyDocument& document() { return doc_; }
    SurveyEditor& editor() { return *editor_; }
    // The undo history of the grids, and actions over it (Ctrl+Z, Ctrl+Y)
    // that work while the focus is in this window; a menu may show them.
    QUndoStack& undoStack();
    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }

    // Puts the number into the survey number field, clears the sheet and
    // loads that survey (the search window and the card import open a
    // survey this way). A modified survey on the sheet is first offered for
    // saving; NotDone when the user keeps it.
    Outcome openSurvey(const QString& number);

    // Before something replaces the survey on the sheet: when it is
    // modified, asks "変更を保存しますか?" (はい / いいえ / キャンセル).
    // はい saves it under the number it was loaded or saved with (the number
    // field's when it never was); true when the sheet may be replaced: the
    // survey was unmodified, saved, or given up.
    bool mayReplaceSurvey();
    bool isModified() const;

    // The label the reports print before the address when the options
    // choose an entry of the address-label list (the options dialog gives
    // it when confirmed and at start-up); the address field is captioned
    // with the label the reports print.
    void setAddressLabel(int index, const QString& text);
    QString addressLabel() const { return label住所_; }
    int addressLabelIndex() const { return label住所Index_; }
    void refreshLocationCaption();

    // Runs a toolbar button by its key ("tb_Exit", "tb_New", "tb_Load",
    // "tb_Save", "tb_Delete", "tb_Excel").
    void runToolbarCommand(const QString& key);

    // Captions the label over the points grid by the setting 測点表示 (after
    // the options dialog changed it).
    void refreshPointCaption();

    // The address picker: returns the composed address, or nothing when the
    // user cancelled. The address button stays disabled until one is given.
    void setAddressPicker(std::function<std::optional<QString>()> picker);

    // Asks where the Excel workbook goes, given the proposed path; an empty
    // answer cancels. By default a file dialog asks.
    void setWorkbookFileChooser(std::function<QString(const QString& proposed)> chooser)
    {
        chooseWorkbookFile_ = std::move(chooser);
    }

    // What to do when the error reporter asks to end the program (by
    // default the application quits).
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    QSize sizeHint() const override;

protected:
    // Closing offers a modified survey for saving; キャンセル keeps the window.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildHeader(QGridLayout* grid);
    void buildGrids();
    void connectDocument();
    QWidget* headerWidget(HeaderField field) const;
    void showHeader(HeaderField field);
    void userEditedHeader(HeaderField field, const QString& text);

    void clearSheet();
    void newSurvey();
    Outcome loadSurvey(const QString& number);
    bool saveSurvey();
    int dropEmptyRecordRows();
    void deleteSurvey();
    void exportWorkbook();
    void focusInvalidInput(const InvalidInput& input);
    void handle(Outcome outcome);
    void updateCommandStates();
    void setTabOrder();

    void fillCandidateLists();
    void fillSoilList();
    void fillPointRemarkList();
    void fillRecordRemarkList();
    void showCurrentPointRecords();
    void followActiveCell();
    void showRecordCaption();
    int currentPoint() const;
    int currentRecord() const;
    void fitColumns();

    ProgramState& state_;
    db::Workspace& workspace_;
    db::MasterLists& lists_;
    UserInterface& ui_;
    SurveyDocument& doc_;
    std::unique_ptr<SurveyEditor> editor_;
    PointsTableModel* pointsModel_ = nullptr;
    RecordsTableModel* recordsModel_ = nullptr;

    QToolBar* toolbar_ = nullptr;
    QAction* tbSave_ = nullptr;
    QAction* tbDelete_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    std::vector<QWidget*> headerWidgets_;   // by HeaderField
    QLabel* addressCaption_ = nullptr;
    QPushButton* cmd住所_ = nullptr;
    QLabel* pointCaption_ = nullptr;
    QLabel* recordCaption_ = nullptr;
    SheetGrid* vaSpread1_ = nullptr;
    SheetGrid* vaSpread2_ = nullptr;
    QListWidget* lst記事1_ = nullptr;
    QListWidget* lst記事2_ = nullptr;
    QListWidget* lst土質_ = nullptr;
    std::array<QLabel*, 3> listCaptions_{};
    SheetGrid* activeGrid_ = nullptr;

    std::function<std::optional<QString>()> addressPicker_;
    std::function<QString(const QString&)> chooseWorkbookFile_;
    std::function<void()> endProgram_;
    bool showingDocument_ = false;   // set while fields are filled from the document
    // The number the survey on the sheet was loaded or saved under; empty
    // for a survey not stored.
    QString storedNumber_;
    int label住所Index_ = -1;
    QString label住所_;
};

} // namespace vortan::sheet
