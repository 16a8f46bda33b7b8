#pragma once
// CardImportWindow, the card import screen: the runs found on the sounding
// machine's memory card are listed in the card list lst_非転送, the user
// moves the runs of one survey into the transfer list lst_転送, checks the
// survey number offered in txt_調査地区No and stores them with cmdKakutei.
// The new survey then opens on the data sheet and the screen closes.
//
// The window holds no logic of its own: reading, listing, the selection
// check and the save are the intake functions; the window keeps the card
// table of the file read and the texts of its two lists.

#include "intake/card_file.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolBar;

namespace vortan {
struct ProgramState;
class UserInterface;
class Failure;
namespace db {
class Workspace;
}
} // namespace vortan

namespace vortan::intake {

// The status text while a card file is read.
inline const QString CardReadingStatus = QStringLiteral("ＣＦカードのデータを読み込んでいます...");

class CardImportWindow : public QWidget {
    Q_OBJECT
public:
    CardImportWindow(ProgramState& state, db::Workspace& workspace, UserInterface& ui,
                     QWidget* parent = nullptr);
    ~CardImportWindow() override;

    // Opens the stored survey on the data sheet (the main window gives it).
    void setSurveyOpener(std::function<void(const QString& number)> opener) { openSurvey_ = std::move(opener); }
    // The file choice: gets the folder to start in, returns the chosen path
    // or an empty text when cancelled. By default the platform file dialog.
    void setFileChooser(std::function<QString(const QString& startFolder)> chooser) { chooseFile_ = std::move(chooser); }
    // The card drive dialog, run modally; by default CardDriveDialog.
    void setDriveDialog(std::function<void()> dialog) { driveDialog_ = std::move(dialog); }
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    // What happens each time the screen becomes the active window: a fresh
    // survey number, selected and focused, and both lists emptied.
    void resetOnActivation();

    void chooseCardDrive();
    void readCardIndex();
    // Reads the card file at `path` and lists its runs in the card list.
    void readCardFile(const QString& path);
    void moveToTransfer();     // cmd_選択
    void moveToCard();         // cmd_非転送
    void saveChosenRuns();
    void runToolbarCommand(const QString& key);

    QStringList cardLines() const;
    QStringList transferLines() const;
    const CardTable& cardRows() const { return card_.rows; }

    // The folder the file dialog starts in: the remembered card drive.
    QString cardStartFolder() const;

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString chooseCardFile();
    void rememberCardDrive(const QString& path);
    void setBusyControls(bool busy);
    void report(const Failure& failure);
    void watchActivation();

    ProgramState& state_;
    db::Workspace& workspace_;
    UserInterface& ui_;
    std::function<void(const QString&)> openSurvey_;
    std::function<QString(const QString&)> chooseFile_;
    std::function<void()> driveDialog_;
    std::function<void()> endProgram_;

    CardFile card_;
    bool activationWatched_ = false;
    bool reading_ = false;

    QToolBar* toolbar_;
    QPushButton* cmdCfDrv_;
    QPushButton* cmdIndex_;
    QLabel* lblFilename_;
    QListWidget* lst_非転送_;
    QListWidget* lst_転送_;
    QPushButton* cmd_選択_;
    QPushButton* cmd_非転送_;
    QLineEdit* txt_調査地区No_;
    QPushButton* cmdKakutei_;
};

} // namespace vortan::intake
