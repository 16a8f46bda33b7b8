#include "ui/intake/conversion_window.h"
#include "intake/exchange_file_location.h"
#include "core/platform.h"

#include "ui/common/allowed_keys_filter.h"
#include "core/program_end.h"
#include "core/error_reporter.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "db/survey_store.h"
#include "db/workspace.h"
#include "intake/exchange_failure.h"
#include "intake/exchange_file_location.h"
#include "intake/exchange_read.h"
#include "intake/exchange_write.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vortan::intake {

namespace {

constexpr int OptionAdd = 0;
constexpr int OptionRead = 1;
constexpr int OptionWrite = 2;

} // namespace

ConversionWindow::ConversionWindow(ProgramState& state, db::Workspace& workspace, UserInterface& ui, QWidget* parent)
    : QDialog(parent), state_(state), workspace_(workspace), ui_(ui)
{
    setObjectName(QStringLiteral("F_Cnv"));
    setWindowTitle(QStringLiteral("データのコンバート"));

    const char* captions[3] = {"VORTAN Ver1.0,2.0 のデータを追加する", "VORTAN Ver1.0,2.0のデータを読込む",
                               "VORTAN Ver2.0のデータを保存する"};
    auto* options = new QButtonGroup(this);
    auto* optionBox = new QGroupBox(this);
    auto* optionLayout = new QVBoxLayout(optionBox);
    for (int i = 0; i < 3; ++i) {
        Option1_[i] = new QRadioButton(QString::fromUtf8(captions[i]), optionBox);
        Option1_[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        options->addButton(Option1_[i], i);
        optionLayout->addWidget(Option1_[i]);
    }

    chk置き換え_ = new QCheckBox(QStringLiteral("読込んだデータの調査地区Noで置換える"), this);
    chk置き換え_->setObjectName(QStringLiteral("chk置き換え"));
    chk_指定データの保存_ = new QCheckBox(QStringLiteral("指定されたデータを保存する｡"), this);
    chk_指定データの保存_->setObjectName(QStringLiteral("chk_指定データの保存"));
    Label1_ = new QLabel(QStringLiteral("調査地区No"), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    txt_調査地区No_ = new QLineEdit(this);
    txt_調査地区No_->setObjectName(QStringLiteral("txt_調査地区No"));
    txt_調査地区No_->setMaximumWidth(100);
    Label1_->setBuddy(txt_調査地区No_);
    AllowedKeysFilter::install(txt_調査地区No_, QStringLiteral("0123456789"), ui_);

    auto* fileLabel = new QLabel(QStringLiteral("ファイル名"), this);
    fileLabel->setObjectName(QStringLiteral("lblファイル名"));
    txt_ファイル名_ = new QLineEdit(this);
    txt_ファイル名_->setObjectName(QStringLiteral("txt_ファイル名"));
    txt_ファイル名_->setMinimumWidth(320);
    fileLabel->setBuddy(txt_ファイル名_);
    Command3_ = new QPushButton(QStringLiteral("ファイル名の選択"), this);
    Command3_->setObjectName(QStringLiteral("Command3"));

    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setRange(0, 100);
    ProgressBar1_->setValue(0);

    runButton_ = new QPushButton(QStringLiteral("上記条件で実行する"), this);
    runButton_->setObjectName(QStringLiteral("Command1"));
    Command2_ = new QPushButton(QStringLiteral("キャンセル"), this);
    Command2_->setObjectName(QStringLiteral("Command2"));
    Command2_->setToolTip(QStringLiteral("キャンセルしシートを閉じる"));

    auto* numberRow = new QHBoxLayout;
    numberRow->addSpacing(24);
    numberRow->addWidget(Label1_);
    numberRow->addWidget(txt_調査地区No_);
    numberRow->addStretch();

    auto* fileRow = new QGridLayout;
    fileRow->addWidget(fileLabel, 0, 0);
    fileRow->addWidget(txt_ファイル名_, 0, 1);
    fileRow->addWidget(Command3_, 0, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(runButton_);
    buttons->addWidget(Command2_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optionBox);
    layout->addWidget(chk置き換え_);
    layout->addWidget(chk_指定データの保存_);
    layout->addLayout(numberRow);
    layout->addSpacing(8);
    layout->addLayout(fileRow);
    layout->addWidget(ProgressBar1_);
    layout->addLayout(buttons);

    connect(options, &QButtonGroup::idClicked, this, [this](int) { applyOptionRules(); });
    connect(chk_指定データの保存_, &QCheckBox::toggled, this, [this](bool) { applyOptionRules(); });
    connect(runButton_, &QPushButton::clicked, this, [this] { runConversion(); });
    connect(Command2_, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(Command3_, &QPushButton::clicked, this, [this] { browseForFile(); });

    txt_ファイル名_->setText(startFile());
    Option1_[OptionAdd]->setChecked(true);
    applyOptionRules();
}

ConversionWindow::~ConversionWindow() = default;

QSize ConversionWindow::sizeHint() const
{
    return QDialog::sizeHint().expandedTo(QSize(520, 0));
}

void ConversionWindow::showEvent(QShowEvent* event)
{
    // The main window keeps the screen between openings: each opening
    // starts from the remembered file and an empty progress bar, centred
    // on the screen.
    if (!event->spontaneous()) {
        txt_ファイル名_->setText(startFile());
        ProgressBar1_->setRange(0, 100);
        ProgressBar1_->setValue(0);
        adjustSize();
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    QDialog::showEvent(event);
}

void ConversionWindow::chooseOption(int index)
{
    Option1_[index]->setChecked(true);
    applyOptionRules();
}

void ConversionWindow::applyOptionRules()
{
    const bool writing = Option1_[OptionWrite]->isChecked();
    chk置き換え_->setEnabled(!writing);
    chk_指定データの保存_->setEnabled(writing);
    const bool number = writing && chk_指定データの保存_->isChecked();
    Label1_->setEnabled(number);
    txt_調査地区No_->setEnabled(number);
}

void ConversionWindow::runConversion()
{
    const bool writing = Option1_[OptionWrite]->isChecked();
    bool success = false;
    runButton_->setEnabled(false);
    try {
        success = writing ? writeFile() : readFile();
    } catch (const Failure& failure) {
        runButton_->setEnabled(true);
        report(failure);
        return;
    }
    runButton_->setEnabled(true);
    state_.settings.csv位置 = txt_ファイル名_->text();
    if (success)
        close();
}

bool ConversionWindow::writeFile()
{
    QString filter;
    if (chk_指定データの保存_->isChecked()) {
        QString number = txt_調査地区No_->text();
        const std::optional<QString> one = ExchangeSurveyFilter(number, ui_);
        txt_調査地区No_->setText(number);
        if (!one) {
            txt_調査地区No_->setFocus();
            return false;
        }
        filter = *one;
    }
    if (!workspace_.surveyOpen())
        throw Failure(err::ObjectNotSet, QStringLiteral("調査データベースが開かれていません。"), QStringLiteral("F_Cnv"));
    WriteExchangeFile(*workspace_.survey(), ui_, txt_ファイル名_->text(), filter, ProgramFiles(state_),
                      [this](int value, int maximum) { showProgress(value, maximum); });
    return true;
}

bool ConversionWindow::readFile()
{
    db::SurveyStore store(workspace_);
    const ExchangeReadMode mode = chk置き換え_->isChecked() ? ExchangeReadMode::Replace : ExchangeReadMode::Add;
    ReadExchangeFile(workspace_, store, ui_, txt_ファイル名_->text(), mode,
                     [this](int value, int maximum) { showProgress(value, maximum); });
    return true;
}

void ConversionWindow::showProgress(int value, int maximum)
{
    if (ProgressBar1_->maximum() != maximum)
        ProgressBar1_->setRange(0, maximum);
    ProgressBar1_->setValue(value);
}

void ConversionWindow::closeWindow()
{
    close();
}

void ConversionWindow::browseForFile()
{
    const bool writing = Option1_[OptionWrite]->isChecked();
    const QString current = txt_ファイル名_->text();
    QString path;
    if (chooseFile_) {
        path = chooseFile_(current, writing);
    } else {
        // To write, a name dated today beside the file used last (or in the
        // documents folder); to read, that file.
        const QFileInfo start(QDir::fromNativeSeparators(
            exchangeDialogStart(current, writing, platform::documentsFolder(), QDate::currentDate())));
        QFileDialog dialog(this, QStringLiteral("ファイル名の選択"), start.isDir() ? start.filePath() : start.absolutePath(),
                           QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)"));
        dialog.setObjectName(QStringLiteral("File1"));
        dialog.setAcceptMode(writing ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(writing ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.setLabelText(QFileDialog::Accept, writing ? QStringLiteral("保存") : QStringLiteral("開く"));
        dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
        if (!start.isDir())
            dialog.selectFile(start.fileName());
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().constFirst();
    }
    if (!path.isEmpty())
        txt_ファイル名_->setText(QDir::toNativeSeparators(path));
}

QString ConversionWindow::startFile() const
{
    return exchangeFileStart(state_.settings.csv位置, platform::documentsFolder(), QDate::currentDate());
}

void ConversionWindow::report(const Failure& failure)
{
    const ErrorContext context{ui_, state_, workspace_.surveyOpen()};
    EndProgramIfAsked(ReportExchangeFailure(failure, context), endProgram_);
}

} // namespace vortan::intake
