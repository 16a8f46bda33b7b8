#pragma once
// OptionsDialog ("オプション設定"), the options dialog: the settings of the
// serial link, the paths, the report labels, the calculation switches and
// the test title, on five tabs of the tab strip TabStrip1. Each tab shows
// one frame of the frame array Frame1 (tabs 1..5 show frames 1, 2, 4, 5,
// 6) with the sentence Text1 explaining it. Confirm (cmd_更新) copies the
// boxes into the settings and, when port and time-out are numbers, writes
// the settings to the store; Cancel (cmd_キャンセル) closes without writing.
//
// Every time the dialog is shown it loads the boxes from the settings,
// refills the address-label list, and shows the page of tab 3 "その他" when
// a database was not found, else the page of tab 1; a tab selected while
// the dialog was hidden (the error reporter asks for one) is shown after that.
// Confirming with an old Access database at データ位置 offers to bring it
// across into a new database beside it, which then takes its place.

#include <QDialog>
#include <array>
#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace vortan {

struct ProgramState;
class SettingsStore;
class UserInterface;
class Failure;
namespace db {
class Workspace;
struct MasterLists;
} // namespace db

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    struct Services {
        ProgramState& state;
        SettingsStore& store;
        db::Workspace& workspace;
        db::MasterLists& lists;
        UserInterface& ui;
    };

    // The file and folder choosers; each returns the chosen path, or empty
    // text when the user cancelled. `filter` is in Qt's form.
    struct Choosers {
        std::function<QString(QWidget* parent, const QString& start, const QString& filter)> file;
        std::function<QString(QWidget* parent, const QString& start, const QString& prompt)> folder;
    };
    static Choosers platformChoosers();

    // What confirming does to the data sheet: the address label chosen for
    // the reports (index and text), and clearing the sheet.
    struct DataSheetHooks {
        std::function<void(int index, const QString& text)> setAddressLabel;
        std::function<void()> clear;
    };

    explicit OptionsDialog(Services services, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    void setChoosers(Choosers choosers) { choosers_ = std::move(choosers); }
    void setDataSheetHooks(DataSheetHooks hooks) { dataSheet_ = std::move(hooks); }
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    // Hides every frame and shows the frame of tab position `k` (0-based)
    // with its explanation.
    void TabChange(int k);
    // The frame now visible, -1 when none is.
    int visibleFrame() const;

    // Fills the boxes from the settings.
    void loadFromSettings();
    // Refills cmb_住所 from the address-label list and selects the entry of
    // その他_ComboIndex, which is brought within the list when it lies
    // beyond it (to the last entry).
    void fillAddressLabels();
    // The preparation at start-up: the address-label list filled, and the
    // data sheet given the label the reports print when the options choose
    // an entry of that list.
    void prepareAtStart();

    void applySettings();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFrame1();
    QWidget* buildFrame2();
    QWidget* buildFrame4();
    QWidget* buildFrame5();
    QWidget* buildFrame6();
    QLineEdit* makeBox(QWidget* parent, const char* name);
    QPushButton* makeButton(QWidget* parent, const char* name, const QString& text);
    QRadioButton* makeOption(QWidget* parent, QButtonGroup* group, const QString& name, const QString& text, int id);
    QWidget* switchPair(QWidget* parent, const char* caption, const char* group, const char* off,
                        const char* on, QLineEdit*& valueBox, const char* valueName, QButtonGroup*& buttons);
    void browseFile(QLineEdit* box, const QString& filter);
    void checkTimeout();
    void checkSettingsFolder();
    void report(const Failure& failure);
    // Offers to bring an old Access file at データ位置 across; false when
    // that failed (the failure was reported).
    bool offerLegacyMigration();

    Services s_;
    Choosers choosers_;
    DataSheetHooks dataSheet_;
    std::function<void()> endProgram_;

    QTabBar* TabStrip1_;
    std::array<QWidget*, 7> Frame1_{};
    QLineEdit* Text1_;
    int requestedTab_ = -1;

    QLineEdit* txt_会社名_ = nullptr;
    QLineEdit* txt_会社マーク_ = nullptr;
    QLineEdit* txt_通常の提出先_ = nullptr;
    QLineEdit* txt_データ位置_ = nullptr;
    QLineEdit* txt_住所位置_ = nullptr;
    QLineEdit* txt_CSV位置_ = nullptr;
    QLineEdit* txt_ini位置_ = nullptr;
    QPushButton* cmd_ini_ = nullptr;
    QPushButton* cmd_接続テスト_ = nullptr;
    QLabel* lbl_接続テスト_ = nullptr;
    QLineEdit* txt_ComNo_ = nullptr;
    QLineEdit* txt_ComTimeOut_ = nullptr;
    QButtonGroup* Option5_ = nullptr;
    QButtonGroup* opt_場所_ = nullptr;
    QComboBox* cmb_住所_ = nullptr;
    QButtonGroup* opt_高さ基準_ = nullptr;
    QButtonGroup* Option2_ = nullptr;
    QLineEdit* txt打撃回数の下限値_ = nullptr;
    QButtonGroup* Option1_ = nullptr;
    QLineEdit* txt換算Nd値の上限値_ = nullptr;
    QButtonGroup* Option3_ = nullptr;
    QLineEdit* txtNdSikii_ = nullptr;
    QButtonGroup* Option4_ = nullptr;
    QLineEdit* txtqaSikii_ = nullptr;
    QRadioButton* Option_new_ = nullptr;
    QRadioButton* Option_old_ = nullptr;
};

} // namespace vortan
