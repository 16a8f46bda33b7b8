#pragma once
// CardDriveDialog, "CFドライブの変更": picks the drive (elsewhere than Windows,
// the mount folder) where the memory card is found. Whenever the choice
// changes, and when the list loses the focus, the choice becomes the
// remembered card drive and is written to cfdrive.ini.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

namespace vortan {
struct ProgramState;
class UserInterface;
}

namespace vortan::intake {

class CardDriveDialog : public QDialog {
    Q_OBJECT
public:
    // `folders` are the places a card may be found (platform::cardFolders()).
    CardDriveDialog(ProgramState& state, UserInterface& ui, const QStringList& folders,
                    QWidget* parent = nullptr);

    // The drive the list shows.
    QString drive() const;
    // Makes the list show `drive` (adding it when absent), as the user would.
    void chooseDrive(const QString& drive);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void remember();

    ProgramState& state_;
    UserInterface& ui_;
    QComboBox* Drive1_;
    QPushButton* cmdReturn_;
};

// The part of a path that is kept as the card drive: the drive letter and
// colon with Windows paths ("E:" of "E:\DATA\A.CSV"), the file's folder elsewhere.
QString cardDriveOfPath(const QString& path);

} // namespace vortan::intake
