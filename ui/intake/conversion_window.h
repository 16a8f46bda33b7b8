#pragma once
// ConversionWindow, "データのコンバート": writes the survey exchange file from the
// database (all surveys, or the one whose number is given) and reads one
// back, adding its surveys under new numbers or replacing the surveys with
// the same numbers. The file path comes from, and after every operation that
// ends without a failure goes back to, the setting csv位置.


#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vortan {
struct ProgramState;
class UserInterface;
class Failure;
namespace db {
class Workspace;
}
} // namespace vortan

namespace vortan::intake {

class ConversionWindow : public QDialog {
    Q_OBJECT
public:
    ConversionWindow(ProgramState& state, db::Workspace& workspace, UserInterface& ui, QWidget* parent = nullptr);
    ~ConversionWindow() override;

    // The file choice of Command3: gets the path in the box and whether a
    // file is to be written; returns the chosen path, empty when cancelled.
    // By default the platform file dialog.
    void setFileChooser(std::function<QString(const QString& current, bool forWriting)> chooser)
    {
        chooseFile_ = std::move(chooser);
    }
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    // Selects option 0 (add), 1 (read) or 2 (write), as a click would.
    void chooseOption(int index);
    void runConversion();
    void closeWindow();
    void browseForFile();

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyOptionRules();
    bool writeFile();
    bool readFile();
    void showProgress(int value, int maximum);
    // The file the box offers when the screen opens.
    QString startFile() const;
    void report(const Failure& failure);

    ProgramState& state_;
    db::Workspace& workspace_;
    UserInterface& ui_;
    std::function<QString(const QString&, bool)> chooseFile_;
    std::function<void()> endProgram_;

    QRadioButton* Option1_[3];
    QCheckBox* chk置き換え_;
    QCheckBox* chk_指定データの保存_;
    QLabel* Label1_;
    QLineEdit* txt_調査地区No_;
    QLineEdit* txt_ファイル名_;
    QPushButton* Command3_;
    QPushButton* runButton_;
    QPushButton* Command2_;
    QProgressBar* ProgressBar1_;
};

} // namespace vortan::intake
