#pragma once
// The about window frmAbout: the program's title, its version and its legal
// line. Shown from the help menu with its OK button and its closing timer
// stopped; the timer (Timer1) closes it on its own otherwise.

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace vortan::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // "ﾊﾞｰｼﾞｮﾝ " + major.minor.revision of the program.
    static QString versionText();
    // The legal line of the program's version information.
    static QString legalText();

    // For the help menu: OK button visible, closing timer stopped.
    void prepareForVersionCommand();

    QPushButton* okButton() const { return cmdOK_; }
    QTimer* closingTimer() const { return timer1_; }

private:
    QPushButton* cmdOK_;
    QTimer* timer1_;
};

} // namespace vortan::ui
