#include "ui/intake/card_drive_dialog.h"

#include "core/card_drive_file.h"
#include "core/error_reporter.h"
#include "core/platform.h"
#include "core/program_state.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vortan::intake {

QString cardDriveOfPath(const QString& path)
{
    if (platform::nativePathStyle() == platform::PathStyle::Windows)
        return QDir::toNativeSeparators(path).left(2);
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

CardDriveDialog::CardDriveDialog(ProgramState& state, UserInterface& ui, const QStringList& folders,
                       QWidget* parent)
    : QDialog(parent), state_(state), ui_(ui)
{
    setObjectName(QStringLiteral("frmCfDrive"));
    setWindowTitle(QStringLiteral("CFドライブの変更"));

    Drive1_ = new QComboBox(this);
    Drive1_->setObjectName(QStringLiteral("Drive1"));
    Drive1_->setMinimumWidth(260);
    Drive1_->addItems(folders);
    Drive1_->installEventFilter(this);

    cmdReturn_ = new QPushButton(QStringLiteral("戻る"), this);
    cmdReturn_->setObjectName(QStringLiteral("cmdReturn"));
    connect(cmdReturn_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("ＣＦカードのドライブ"), this));
    layout->addWidget(Drive1_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdReturn_);
    layout->addLayout(buttons);

    // The list starts at the drive in use: the remembered card drive when
    // it is there, else the system's current drive, else the first entry.
    QString start = state_.cardDrive.trimmed();
    if (start.isEmpty() && platform::nativePathStyle() == platform::PathStyle::Windows)
        start = QDir::toNativeSeparators(QDir::currentPath()).left(2);
    if (!start.isEmpty()) {
        int index = Drive1_->findText(start, Qt::MatchFixedString);
        if (index < 0) {
            Drive1_->insertItem(0, start);
            index = 0;
        }
        Drive1_->setCurrentIndex(index);
    }
    // Only the user's changes are remembered, not the start position.
    connect(Drive1_, &QComboBox::currentIndexChanged, this, [this](int) { remember(); });
}

QString CardDriveDialog::drive() const
{
    return Drive1_->currentText();
}

void CardDriveDialog::chooseDrive(const QString& drive)
{
    int index = Drive1_->findText(drive, Qt::MatchFixedString);
    if (index < 0) {
        Drive1_->addItem(drive);
        index = Drive1_->count() - 1;
    }
    Drive1_->setCurrentIndex(index);
}

bool CardDriveDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Drive1_ && event->type() == QEvent::FocusOut)
        remember();
    return QDialog::eventFilter(watched, event);
}

void CardDriveDialog::remember()
{
    QString drive = Drive1_->currentText();
    if (drive.isEmpty())
        return;
    if (platform::nativePathStyle() == platform::PathStyle::Windows)
        drive = drive.left(2);
    state_.cardDrive = drive;
    try {
        writeCardDriveFile(state_.settings.ini位置, drive);
    } catch (const Failure& failure) {
        ReportError(failure, ErrorContext{ui_, state_, false});
    }
}

} // namespace vortan::intake
