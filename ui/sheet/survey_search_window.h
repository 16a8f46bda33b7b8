#pragma once
// SurveySearchWindow, the survey search: criteria fields for the header of a survey
// (patterns for the texts, from-to ranges for elevation, start and end time
// and survey date), the toolbar Toolbar1 with "tb_検索実行",
// "tb_選択データの呼び出し" and "tb_Exit", and the result grid vaSpread1 of
// thirteen columns. The survey of the grid's current row (or of a row
// double-clicked) is opened on the data sheet through the opener the main
// window gives.

#include "sheet/survey_search_query.h"

#include <QWidget>
#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolBar;

namespace vortan {
struct ProgramState;
class UserInterface;
class Failure;
namespace db {
class Workspace;
struct MasterLists;
} // namespace db
} // namespace vortan

namespace vortan::sheet {

class SearchResultModel;

class SurveySearchWindow : public QWidget {
    Q_OBJECT
public:
    SurveySearchWindow(ProgramState& state, db::Workspace& workspace, db::MasterLists& lists, UserInterface& ui,
          QWidget* parent = nullptr);
    ~SurveySearchWindow() override;

    // Opens a survey on the data sheet by its number: the main window puts
    // it into the sheet's number field, shows the sheet, lets pending events
    // run and has the sheet clear itself and load the survey.
    void setSurveyOpener(std::function<void(const QString& number)> opener) { openSurvey_ = std::move(opener); }
    // The address picker; by default the postal database's AddressPickerDialog.
    void setAddressPicker(std::function<std::optional<QString>()> picker) { addressPicker_ = std::move(picker); }
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    // Refills the selection boxes from the master lists.
    void fillLists();

    // The criteria as they stand in the boxes.
    SurveySearchCriteria criteria() const;

    // Runs a toolbar button by its key.
    void runToolbarCommand(const QString& key);
    void search();
    void openSelectedSurvey();

    SearchResultModel& results() const { return *model_; }
    QSize sizeHint() const override;

private:
    QComboBox* makeList(const char* name);
    QLineEdit* makeBox(const char* name);
    void report(const Failure& failure);
    void pickAddress();

    ProgramState& state_;
    db::Workspace& workspace_;
    db::MasterLists& lists_;
    UserInterface& ui_;

    QToolBar* toolbar_;
    QComboBox* cmb_提出先_ = nullptr;
    QLineEdit* txt_現場名_ = nullptr;
    QLineEdit* txt_住所_ = nullptr;
    QPushButton* cmd住所_ = nullptr;
    QComboBox* cmb_調査目的_ = nullptr;
    QComboBox* cmb_天候_ = nullptr;
    QLineEdit* txt_標高_[2] = {};
    QComboBox* cmb_調査責任者_ = nullptr;
    QComboBox* cmb_調査者_ = nullptr;
    QLineEdit* txt_開始時刻_[2] = {};
    QLineEdit* txt_終了時刻_[2] = {};
    QLineEdit* txt_調査日_[2] = {};
    QComboBox* cmb_調査地区記事_ = nullptr;
    QTableView* vaSpread1_;
    SearchResultModel* model_;

    std::function<void(const QString&)> openSurvey_;
    std::function<std::optional<QString>()> addressPicker_;
    std::function<void()> endProgram_;
};

} // namespace vortan::sheet
