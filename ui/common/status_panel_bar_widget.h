#pragma once
// The main window's status bar: panel 1 on the left carries the status texts
// of every screen, a second panel fills the rest. Texts shown with
// QStatusBar::showMessage (as the user interface does) land in panel 1
// instead of covering the whole bar, so the panels keep their frames.

#include <QStatusBar>

class QLabel;

namespace vortan::ui {

class StatusPanelBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanelBar(QWidget* parent = nullptr);

    QString panelText() const;
    void setPanelText(const QString& text);

    // Width given to panel 1 (it may be drawn narrower while the bar is).
    int panelWidth() const { return panelWidth_; }
    void setPanelWidth(int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* panel1_;
    QLabel* panel2_;
    int panelWidth_ = 0;
};

} // namespace vortan::ui
