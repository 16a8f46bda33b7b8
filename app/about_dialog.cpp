#include "app/about_dialog.h"

#include "app/main_window.h"
#include "ui/common/toolbar_icons.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#if !defined(VORTAN_VERSION_MAJOR) || !defined(VORTAN_VERSION_MINOR) || !defined(VORTAN_VERSION_PATCH)
#error "the build gives the program's version as VORTAN_VERSION_MAJOR, _MINOR and _PATCH"
#endif

namespace vortan::ui {

namespace {
// How long the window stays when it is shown without its OK button.
constexpr int ClosingDelayMs = 3000;
} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent)
    , cmdOK_(new QPushButton(QStringLiteral("OK"), this))
    , timer1_(new QTimer(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromUtf8(ApplicationTitle) + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(ProgramIcon().pixmap(QSize(48, 48), devicePixelRatio()));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = new QLabel(QString::fromUtf8(ProgramTitle), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* legal = new QLabel(legalText(), this);
    legal->setObjectName(QStringLiteral("lblDisclaimer"));
    legal->setWordWrap(true);

    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdOK_->setMinimumWidth(96);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setSingleShot(true);
    timer1_->setInterval(ClosingDelayMs);
    connect(timer1_, &QTimer::timeout, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(legal, 1);
    buttons->addSpacing(12);
    buttons->addWidget(cmdOK_, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->addLayout(top);
    layout->addSpacing(10);
    layout->addWidget(line);
    layout->addLayout(buttons);
    setMinimumWidth(440);
}

QString AboutDialog::versionText()
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
        .arg(VORTAN_VERSION_MAJOR)
        .arg(VORTAN_VERSION_MINOR)
        .arg(VORTAN_VERSION_PATCH);
}

QString AboutDialog::legalText()
{
    return QStringLiteral("著作権 © Vortan の開発者。無断複製・転載を禁じます。");
}

void AboutDialog::prepareForVersionCommand()
{
    cmdOK_->setVisible(true);
    timer1_->stop();
}

} // namespace vortan::ui
