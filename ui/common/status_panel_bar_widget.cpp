#include "ui/common/status_panel_bar_widget.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace vortan::ui {

namespace {

// A panel that asks the layout for its set width but can be squeezed to
// nothing, so that neither the width nor a long text holds the window wide.
class PanelLabel : public QLabel {
public:
    using QLabel::QLabel;

    void setWantedWidth(int width)
    {
        wantedWidth_ = width;
        setMaximumWidth(width);
        updateGeometry();
    }
    QSize sizeHint() const override { return {wantedWidth_, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int wantedWidth_ = 0;
};

} // namespace

StatusPanelBar::StatusPanelBar(QWidget* parent)
    : QStatusBar(parent)
    , panel1_(new PanelLabel(this))
    , panel2_(new QLabel(this))
{
    setObjectName(QStringLiteral("StatusBar1"));
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel1_->setTextFormat(Qt::PlainText);
    // Permanent widgets stay visible while a message is shown; panel 2
    // stretches so that panel 1 starts at the left edge.
    addPermanentWidget(panel1_, 0);
    addPermanentWidget(panel2_, 1);
    setPanelWidth(400);
    connect(this, &QStatusBar::messageChanged, panel1_, &QLabel::setText);
}

QString StatusPanelBar::panelText() const
{
    return panel1_->text();
}

void StatusPanelBar::setPanelText(const QString& text)
{
    showMessage(text);
    panel1_->setText(text);
}

void StatusPanelBar::setPanelWidth(int width)
{
    panelWidth_ = width;
    static_cast<PanelLabel*>(panel1_)->setWantedWidth(width);
}

void StatusPanelBar::paintEvent(QPaintEvent*)
{
    // As QStatusBar draws itself, but without the message text over the
    // panels: panel 1 shows it.
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    for (QLabel* panel : {panel1_, panel2_}) {
        if (!panel->isVisible())
            continue;
        QStyleOption frame;
        frame.rect = panel->geometry().adjusted(-2, -1, 2, 1);
        frame.palette = palette();
        frame.state = QStyle::State_None;
        style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &frame, &painter, panel);
    }
}

} // namespace vortan::ui
