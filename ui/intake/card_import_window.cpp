#include "ui/intake/card_import_window.h"

#include "core/card_drive_file.h"
#include "core/program_end.h"
#include "core/error_reporter.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "core/survey_number.h"
#include "ui/common/toolbar_icons.h"
#include "core/user_interface.h"
#include "db/survey_store.h"
#include "db/workspace.h"
#include "ui/intake/card_drive_dialog.h"
#include "intake/card_save.h"
#include "intake/card_selection.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolBar>
#include <QVBoxLayout>

#include <chrono>
#include <future>
#include <memory>

namespace vortan::intake {

namespace {

// The list lines are fixed-width texts (site and point right-aligned, the
// times in columns): they need a font whose every glyph, Japanese ones
// included, takes the same room.
QFont listFont()
{
    for (const char* family : {"ＭＳ ゴシック", "MS Gothic", "IPAGothic", "Noto Sans Mono CJK JP"}) {
        const QString name = QString::fromUtf8(family);
        if (QFontDatabase::hasFamily(name)) {
            QFont font(name);
            // An even pixel size keeps a full-width glyph exactly two
            // half-width ones wide.
            font.setPixelSize(14);
            font.setFixedPitch(true);
            return font;
        }
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(14);
    return font;
}

QListWidget* makeList(QWidget* parent, const char* name, const char* toolTip)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromUtf8(name));
    list->setToolTip(QString::fromUtf8(toolTip));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setFont(listFont());
    list->setUniformItemSizes(true);
    const int lineWidth = QFontMetrics(list->font()).horizontalAdvance(
        QStringLiteral("*    3    1 05/10/01 09:30:05～05/10/01 09:32:40"));
    list->setMinimumWidth(lineWidth + 40);
    return list;
}

QStringList texts(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

QList<qsizetype> selectedRows(const QListWidget* list)
{
    QList<qsizetype> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows.append(i);
    return rows;
}

// The text of the list's current line as the move commands compare it:
// empty while nothing is selected.
QString currentText(const QListWidget* list)
{
    if (list->selectedItems().isEmpty() || !list->currentItem())
        return QString();
    return list->currentItem()->text();
}

void fill(QListWidget* list, const QStringList& lines)
{
    list->clear();
    list->addItems(lines);
}

QLabel* heading(QWidget* parent, const char* text, const char* name)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    return label;
}

} // namespace

CardImportWindow::CardImportWindow(ProgramState& state, db::Workspace& workspace, UserInterface& ui, QWidget* parent)
    : QWidget(parent), state_(state), workspace_(workspace), ui_(ui)
{
    setObjectName(QStringLiteral("frmCFCard"));
    setWindowTitle(QStringLiteral("ＣＦカード読み込み"));

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* exit = toolbar_->addAction(ToolbarIcon(QStringLiteral("tb_Exit")), QStringLiteral("閉じる"));
    exit->setObjectName(QStringLiteral("tb_Exit"));
    exit->setToolTip(QStringLiteral("ＣＦカード読み込みを閉じます"));
    connect(exit, &QAction::triggered, this, [this] { runToolbarCommand(QStringLiteral("tb_Exit")); });

    cmdCfDrv_ = new QPushButton(QStringLiteral("ＣＦドライブ変更"), this);
    cmdCfDrv_->setObjectName(QStringLiteral("cmdCfDrv"));
    cmdIndex_ = new QPushButton(QStringLiteral("ファイル読込"), this);
    cmdIndex_->setObjectName(QStringLiteral("cmdIndex"));
    lblFilename_ = new QLabel(this);
    lblFilename_->setObjectName(QStringLiteral("lblFilename"));
    lblFilename_->setFrameShape(QFrame::StyledPanel);
    lblFilename_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFilename_->setMinimumWidth(200);

    lst_非転送_ = makeList(this, "lst_非転送", "こちらに表示されている測点Noのデータは格納されません。");
    lst_転送_ = makeList(this, "lst_転送", "こちらに表示されている測点Noのデータが格納されます。");

    cmd_選択_ = new QPushButton(QStringLiteral("転送する測点Noにする"), this);
    cmd_選択_->setObjectName(QStringLiteral("cmd_選択"));
    cmd_非転送_ = new QPushButton(QStringLiteral("転送しない測点Noにする"), this);
    cmd_非転送_->setObjectName(QStringLiteral("cmd_非転送"));

    auto* lbl調査 = heading(this, "調査地区Ｎｏ", "lbl調査");
    txt_調査地区No_ = new QLineEdit(this);
    txt_調査地区No_->setObjectName(QStringLiteral("txt_調査地区No"));
    txt_調査地区No_->setMaximumWidth(100);
    lbl調査->setBuddy(txt_調査地区No_);
    cmdKakutei_ = new QPushButton(QStringLiteral("確定"), this);
    cmdKakutei_->setObjectName(QStringLiteral("cmdKakutei"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(cmdCfDrv_);
    fileRow->addWidget(cmdIndex_);
    fileRow->addWidget(lblFilename_, 1);

    auto* lists = new QGridLayout;
    lists->addWidget(heading(this, "CFカードのデータ内容", "lblCFカード"), 0, 0);
    lists->addWidget(heading(this, "格納するデータ", "lbl格納"), 0, 2);
    lists->addWidget(lst_非転送_, 1, 0);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(cmd_選択_);
    moves->addSpacing(12);
    moves->addWidget(cmd_非転送_);
    moves->addStretch();
    lists->addLayout(moves, 1, 1);
    lists->addWidget(lst_転送_, 1, 2);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);

    auto* confirmRow = new QHBoxLayout;
    confirmRow->addStretch();
    confirmRow->addWidget(lbl調査);
    confirmRow->addWidget(txt_調査地区No_);
    confirmRow->addSpacing(12);
    confirmRow->addWidget(cmdKakutei_);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolbar_);
    layout->addLayout(fileRow);
    layout->addLayout(lists, 1);
    layout->addLayout(confirmRow);

    connect(cmdCfDrv_, &QPushButton::clicked, this, [this] { chooseCardDrive(); });
    connect(cmdIndex_, &QPushButton::clicked, this, [this] { readCardIndex(); });
    connect(cmd_選択_, &QPushButton::clicked, this, [this] { moveToTransfer(); });
    connect(cmd_非転送_, &QPushButton::clicked, this, [this] { moveToCard(); });
    connect(cmdKakutei_, &QPushButton::clicked, this, [this] { saveChosenRuns(); });
}

CardImportWindow::~CardImportWindow() = default;

QSize CardImportWindow::sizeHint() const
{
    return QSize(860, 480);
}

void CardImportWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    watchActivation();
}

void CardImportWindow::watchActivation()
{
    if (activationWatched_)
        return;
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame || !frame->mdiArea()) {
        // A window of its own: it becomes active as it is shown.
        if (isWindow())
            resetOnActivation();
        return;
    }
    activationWatched_ = true;
    // The screen counts as activated when its frame becomes active after
    // another window was: returning from a message box keeps the lists.
    auto lastActive = std::make_shared<QPointer<QMdiSubWindow>>();
    QPointer<QMdiSubWindow> own(frame);
    connect(frame->mdiArea(), &QMdiArea::subWindowActivated, this, [this, lastActive, own](QMdiSubWindow* window) {
        if (!window)
            return;
        const bool wasOther = lastActive->data() != window;
        *lastActive = window;
        if (window == own && wasOther && !reading_)
            resetOnActivation();
    });
    if (frame->mdiArea()->activeSubWindow() == frame) {
        *lastActive = frame;
        resetOnActivation();
    }
}

void CardImportWindow::resetOnActivation()
{
    try {
        db::SurveyStore store(workspace_);
        // Past the largest survey number no number is offered; the save
        // refuses one typed there.
        const std::int64_t next = std::int64_t(store.maxSurveyNo()) + 1;
        txt_調査地区No_->setText(next <= LargestSurveyNumber ? QString::number(next) : QString());
    } catch (const Failure& failure) {
        report(failure);
    }
    txt_調査地区No_->setFocus();
    txt_調査地区No_->selectAll();
    lst_非転送_->clear();
    lst_転送_->clear();
}

void CardImportWindow::chooseCardDrive()
{
    if (driveDialog_) {
        driveDialog_();
        return;
    }
    CardDriveDialog dialog(state_, ui_, platform::cardFolders(), this);
    dialog.adjustSize();
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    dialog.exec();
}

QString CardImportWindow::cardStartFolder() const
{
    const QString drive = state_.cardDrive.trimmed();
    if (drive.isEmpty())
        return QString();
    if (platform::nativePathStyle() == platform::PathStyle::Windows)
        return drive + QLatin1Char('\\');
    return drive;
}

QString CardImportWindow::chooseCardFile()
{
    const QString start = cardStartFolder();
    QString path;
    if (chooseFile_) {
        path = chooseFile_(start);
    } else {
        QFileDialog dialog(this, QStringLiteral("ＣＦカードファイル選択"), start, QStringLiteral("*.csv"));
        dialog.setObjectName(QStringLiteral("dlgFile1"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().constFirst();
    }
    if (path.isEmpty())
        return QString();
    rememberCardDrive(path);
    return path;
}

void CardImportWindow::rememberCardDrive(const QString& path)
{
    state_.cardDrive = cardDriveOfPath(path);
    try {
        writeCardDriveFile(state_.settings.ini位置, state_.cardDrive);
    } catch (const Failure& failure) {
        report(failure);
    }
}

void CardImportWindow::readCardIndex()
{
    const QString path = chooseCardFile();
    if (!path.isEmpty())
        readCardFile(path);
}

void CardImportWindow::readCardFile(const QString& path)
{
    lblFilename_->setText(QDir::toNativeSeparators(path));
    // A card holds up to tens of thousands of records and listing them
    // takes a while: the file is read beside the window, which keeps
    // answering and shows in the status bar how far the reading has come.
    reading_ = true;
    setBusyControls(true);
    ui_.setBusy(CardReadingStatus, true);
    auto percent = std::make_shared<std::atomic<int>>(0);
    std::future<CardListing> pending =
        std::async(std::launch::async, [path, percent] { return ReadAndListCardFile(path, percent.get()); });
    int shownPercent = -1;
    while (pending.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        const int now = percent->load();
        if (now != shownPercent) {
            shownPercent = now;
            ui_.setStatusText(CardReadingStatus + QStringLiteral(" %1%").arg(now));
        }
        ui_.processEvents();
    }
    ui_.setBusy(QString(), false);
    setBusyControls(false);
    reading_ = false;
    try {
        CardListing listing = pending.get();
        card_ = std::move(listing.file);
        lst_転送_->clear();
        fill(lst_非転送_, listing.lines);
    } catch (const Failure& failure) {
        report(failure);
    }
}

void CardImportWindow::setBusyControls(bool busy)
{
    for (QWidget* control : {static_cast<QWidget*>(cmdCfDrv_), static_cast<QWidget*>(cmdIndex_),
                             static_cast<QWidget*>(cmd_選択_), static_cast<QWidget*>(cmd_非転送_),
                             static_cast<QWidget*>(cmdKakutei_), static_cast<QWidget*>(toolbar_)})
        control->setEnabled(!busy);
}

void CardImportWindow::moveToTransfer()
{
    QStringList card = texts(lst_非転送_);
    QStringList transfer = texts(lst_転送_);
    DuplicatePointList duplicates;
    if (!TransferSelectedRuns(ui_, card, selectedRows(lst_非転送_), currentText(lst_非転送_), transfer,
                              currentText(lst_転送_), duplicates)) {
        lst_非転送_->clearSelection();
        return;
    }
    fill(lst_非転送_, card);
    fill(lst_転送_, transfer);
}

void CardImportWindow::moveToCard()
{
    QStringList transfer = texts(lst_転送_);
    QStringList card = texts(lst_非転送_);
    MoveLines(transfer, selectedRows(lst_転送_), currentText(lst_転送_), currentText(lst_非転送_), card);
    fill(lst_転送_, transfer);
    fill(lst_非転送_, card);
}

void CardImportWindow::saveChosenRuns()
{
    const QStringList transfer = transferLines();
    if (transfer.isEmpty())
        return;
    std::int32_t stored = 0;
    try {
        stored = SaveCardRuns(workspace_, ui_, card_.rows, transfer, txt_調査地区No_->text(),
                              state_.settings.通常の提出先);
    } catch (const Failure& failure) {
        report(failure);
        return;
    }
    if (stored == 0)
        return;
    if (openSurvey_)
        openSurvey_(QString::number(stored));
    ui_.beep();
    close();
}

void CardImportWindow::runToolbarCommand(const QString& key)
{
    if (key == u"tb_Exit")
        close();
}

QStringList CardImportWindow::cardLines() const
{
    return texts(lst_非転送_);
}

QStringList CardImportWindow::transferLines() const
{
    return texts(lst_転送_);
}

void CardImportWindow::report(const Failure& failure)
{
    ReportFailure(failure, {ui_, state_, workspace_.surveyOpen()}, endProgram_);
}

} // namespace vortan::intake
