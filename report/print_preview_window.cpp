#include "report/print_preview_window.h"

#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "db/workspace.h"
#include "report/next_page_dialog.h"
#include "report/pdf_surface.h"
#include "report/preview_surface.h"
#include "report/printer_port_widget.h"
#include "report/printer_surface_widget.h"
#include "report/report_options_dialog.h"
#include "sheet/survey_document.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace vortan::report {

namespace {

QString wholeNumberText(double value)
{
    return numtext::shortestDouble(value);
}

} // namespace

PrintPreviewWindow::PrintPreviewWindow(Services services, QWidget* parent)
    : PrintPreviewWindow(services, std::make_unique<QtPrinterPort>(), parent)
{
}

PrintPreviewWindow::PrintPreviewWindow(Services services, std::unique_ptr<PrinterPort> printer, QWidget* parent)
    : QWidget(parent), s_(services), printer_(std::move(printer))
{
    qtPrinter_ = dynamic_cast<QtPrinterPort*>(printer_.get());
    session_ = std::make_unique<PrintSession>(s_.state, *printer_);
    build();
}

PrintPreviewWindow::~PrintPreviewWindow()
{
    // The boxes outlive the session while the widget tree is torn down; a
    // box losing its focus then must not reach the session.
    for (QLineEdit* edit : margin_)
        disconnect(edit, nullptr, this, nullptr);
}

void PrintPreviewWindow::setPaperSurfaceFactory(std::function<std::unique_ptr<PageSurface>()> factory)
{
    paperSurface_ = std::move(factory);
}

void PrintPreviewWindow::build()
{
    setObjectName(QStringLiteral("F_印刷フォーム"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    resize(900, 760);

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto button = [this](const char* key, const QString& text, const QString& tip) {
        QAction* action = toolbar_->addAction(text);
        action->setObjectName(QString::fromUtf8(key));
        action->setToolTip(tip);
        return action;
    };
    connect(button("tb_Exit", QStringLiteral("閉じる"), QStringLiteral("印刷プレビューを閉じます")),
            &QAction::triggered, this, &QWidget::close);
    toolbar_->addSeparator();
    connect(button("tb_Print", QStringLiteral("印刷"), QStringLiteral("プリンタに印刷します")), &QAction::triggered,
            this, [this] { runReport(true); });
    connect(button("tb_PreView", QStringLiteral("プレビュー"), QStringLiteral("画面に表示します")),
            &QAction::triggered, this, [this] { runReport(false); });
    connect(button("tb_PDF", QStringLiteral("PDF保存"), QStringLiteral("PDFファイルに保存します")),
            &QAction::triggered, this, &PrintPreviewWindow::savePdfAsked);
    toolbar_->addSeparator();
    connect(button("tb_Prop", QStringLiteral("プリンタの設定"), QStringLiteral("プリンタを選択します")),
            &QAction::triggered, this, [this] {
                handle([this] {
                    Show_CommonDialog();
                    Pic尺度合せ();
                    refreshEndPage();
                    afterSettingsDialog();
                });
            });
    connect(button("tb_Type", QStringLiteral("レポートタイプ"), QStringLiteral("レポートタイプを選択します")),
            &QAction::triggered, this, &PrintPreviewWindow::openReportOptions);

    // Margins.
    auto* margins = new QGroupBox(this);
    auto* marginGrid = new QGridLayout(margins);
    const QStringList labels{QStringLiteral("上余白(mm)"), QStringLiteral("右余白(mm)"), QStringLiteral("下余白(mm)"),
                             QStringLiteral("左余白(mm)")};
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(margins);
        edit->setObjectName(QStringLiteral("Margin(%1)").arg(i));
        edit->setMaximumWidth(60);
        margin_[static_cast<std::size_t>(i)] = edit;
        marginGrid->addWidget(new QLabel(labels.at(i), margins), 0, i * 2);
        marginGrid->addWidget(edit, 0, i * 2 + 1);
        connect(edit, &QLineEdit::editingFinished, this, [this, i] {
            if (running_ || closing_)
                return;
            handle([this, i] {
                Mrgin調整(i);
                refreshEndPage();
            });
        });
    }

    // Page range and zoom.
    auto* range = new QGroupBox(this);
    auto* rangeRow = new QHBoxLayout(range);
    allPages_ = new QRadioButton(QStringLiteral("全ﾍﾟｰｼﾞ"), range);
    allPages_->setObjectName(QStringLiteral("opt範囲(0)"));
    givenPages_ = new QRadioButton(QStringLiteral("指定ﾍﾟｰｼﾞ"), range);
    givenPages_->setObjectName(QStringLiteral("opt範囲(1)"));
    startPage_ = new QLineEdit(QStringLiteral("1"), range);
    startPage_->setObjectName(QStringLiteral("txt_開始ページ"));
    endPage_ = new QLineEdit(QStringLiteral("1"), range);
    endPage_->setObjectName(QStringLiteral("txt_終了ページ"));
    for (QLineEdit* edit : {startPage_, endPage_})
        edit->setMaximumWidth(50);
    rangeRow->addWidget(allPages_);
    rangeRow->addWidget(givenPages_);
    rangeRow->addWidget(startPage_);
    rangeRow->addWidget(new QLabel(QStringLiteral("～"), range));
    rangeRow->addWidget(endPage_);
    rangeRow->addSpacing(20);
    rangeRow->addWidget(new QLabel(QStringLiteral("表示倍率"), range));
    zoom_ = new QComboBox(range);
    zoom_->setObjectName(QStringLiteral("Combo1"));
    zoom_->setEditable(true);
    zoom_->addItems({QStringLiteral("200%"), QStringLiteral("100%"), QStringLiteral("75%"), QStringLiteral("50%"),
                     QStringLiteral("25%"), QStringLiteral("14%")});
    zoom_->setCurrentIndex(-1);
    zoom_->setEditText(QString());
    rangeRow->addWidget(zoom_);
    rangeRow->addStretch();
    connect(allPages_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            selectAllPages();
    });
    connect(givenPages_, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        startPage_->setEnabled(true);
        endPage_->setEnabled(true);
    });
    connect(zoom_, &QComboBox::activated, this, [this] {
        if (running_)
            return;
        Pic尺度合せ();
        runReport(false);
    });
    zoom_->lineEdit()->installEventFilter(this);

    // The preview page inside its viewport.
    viewport_ = new QScrollArea(this);
    viewport_->setObjectName(QStringLiteral("Picture1"));
    viewport_->setBackgroundRole(QPalette::Dark);
    viewport_->setAlignment(Qt::AlignCenter);
    viewport_->verticalScrollBar()->setObjectName(QStringLiteral("VScroll1"));
    viewport_->horizontalScrollBar()->setObjectName(QStringLiteral("HScroll1"));
    page_ = new QLabel;
    page_->setObjectName(QStringLiteral("Picture2"));
    page_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    page_->setAutoFillBackground(true);
    viewport_->setWidget(page_);

    nextPage_ = new NextPageDialog(this);

    auto* controls = new QHBoxLayout;
    controls->addWidget(margins);
    controls->addWidget(range);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(toolbar_);
    layout->addLayout(controls);
    layout->addWidget(viewport_, 1);

    allPages_->setChecked(true);
}

void PrintPreviewWindow::handle(const std::function<void()>& command)
{
    try {
        command();
    } catch (const Failure& failure) {
        const ErrorContext context{s_.ui, s_.state, s_.workspace && s_.workspace->surveyOpen()};
        if (ReportError(failure, context) == action::EndProgram)
            close();
    }
}

bool PrintPreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (zoom_ && watched == zoom_->lineEdit() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !running_) {
            Pic尺度合せ();
            runReport(false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PrintPreviewWindow::setZoomText(const QString& text)
{
    zoom_->setEditText(text);
}

QString PrintPreviewWindow::zoomText() const
{
    return zoom_->currentText();
}

double PrintPreviewWindow::scale() const
{
    const double value = numtext::leadingNumber(zoom_->currentText()) / 100.0;
    return value > 0 ? value : 1.0;
}

QSizeF PrintPreviewWindow::paperSize() const
{
    return session_->geometry().paperSize();
}

void PrintPreviewWindow::Pic尺度合せ()
{
    const QSize size = PreviewSurface::pictureSize(paperSize(), scale());
    page_->setFixedSize(size);
    if (!preview_.isNull() && preview_.size() != size)
        page_->setPixmap(QPixmap());
}

void PrintPreviewWindow::Mrgin調整(int side)
{
    Margins boxes;
    for (int i = 0; i < 4; ++i)
        boxes[static_cast<MarginSide>(i)] = numtext::leadingNumber(margin_[static_cast<std::size_t>(i)]->text());
    const auto which = static_cast<MarginSide>(side);
    const MarginCheck check = session_->checkMargin(which, boxes);
    if (!check.message.isEmpty()) {
        margin_[static_cast<std::size_t>(side)]->setText(wholeNumberText(check.value));
        s_.ui.showMessage(check.message, MessageIcon::None);
    }
    session_->setMargin(which, check.value);
}

QString PrintPreviewWindow::Show_CommonDialog()
{
    if (!qtPrinter_)
        return session_->printer().orientation() == PageOrientation::Landscape ? QStringLiteral("Landscape. ")
                                                                               : QStringLiteral("Portrait. ");
    return qtPrinter_->showDialog(this);
}

void PrintPreviewWindow::refreshEndPage()
{
    endPage_->setText(QString::number(session_->pageCount(s_.document)));
}

void PrintPreviewWindow::selectAllPages()
{
    if (!allPages_->isChecked())
        allPages_->setChecked(true);
    startPage_->setEnabled(false);
    endPage_->setEnabled(false);
    startPage_->setText(QStringLiteral("1"));
    refreshEndPage();
}

void PrintPreviewWindow::afterSettingsDialog()
{
    for (int i = 0; i < 4; ++i)
        Mrgin調整(i);
    selectAllPages();
}

void PrintPreviewWindow::openReportOptions()
{
    handle([this] {
        ReportOptionsDialog dialog(s_.state, s_.ui, this);
        dialog.setReportTypeHandler([this](int type) {
            session_->setReportType(type);
            refreshEndPage();
        });
        dialog.setRefitHandler([this] { Pic尺度合せ(); });
        dialog.exec();
        afterSettingsDialog();
    });
}

void PrintPreviewWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    QTimer::singleShot(0, this, [this] { handle([this] { formActivate(); }); });
}

void PrintPreviewWindow::formActivate()
{
    if (zoom_->currentText().isEmpty())
        setZoomText(QStringLiteral("100%"));
    Pic尺度合せ();
    for (int i = 0; i < 4; ++i) {
        const auto side = static_cast<MarginSide>(i);
        margin_[static_cast<std::size_t>(i)]->setText(wholeNumberText(session_->margins()[side]));
    }
    for (int i = 0; i < 4; ++i)
        Mrgin調整(i);
    viewport_->verticalScrollBar()->setValue(0);
    viewport_->horizontalScrollBar()->setValue(0);
    session_->setReportType(session_->reportType());
    Pic尺度合せ();
    selectAllPages();
    runReport(false);
}

void PrintPreviewWindow::takeMarginsAndRange()
{
    Margins margins;
    for (int i = 0; i < 4; ++i)
        margins[static_cast<MarginSide>(i)] = numtext::leadingNumber(margin_[static_cast<std::size_t>(i)]->text());
    session_->setMargins(margins);
    session_->setPageRange(static_cast<int>(numtext::leadingNumber(startPage_->text())),
                           static_cast<int>(numtext::leadingNumber(endPage_->text())));
}

void PrintPreviewWindow::setRunning(bool running)
{
    running_ = running;
    toolbar_->setEnabled(!running);
    page_->setEnabled(!running);
}

ReportInputs PrintPreviewWindow::inputs() const
{
    db::Database* survey = s_.workspace ? s_.workspace->survey() : nullptr;
    return ReportInputs{s_.document, s_.state, s_.ui, survey, {}};
}

bool PrintPreviewWindow::run(PageSurface& surface)
{
    takeMarginsAndRange();
    setRunning(true);
    bool completed = false;
    handle([&] { completed = session_->run(inputs(), surface); });
    setRunning(false);
    if (runFinished_)
        runFinished_(completed);
    return completed;
}

void PrintPreviewWindow::showPage(const QImage& image)
{
    preview_ = image.copy();
    page_->setFixedSize(preview_.size());
    page_->setPixmap(QPixmap::fromImage(preview_));
}

bool PrintPreviewWindow::runReport(bool printMode)
{
    if (running_)
        return false;
    if (printMode) {
        std::unique_ptr<PageSurface> surface;
        if (paperSurface_)
            surface = paperSurface_();
        else if (qtPrinter_)
            surface = std::make_unique<PrinterSurface>(qtPrinter_->printer());
        if (!surface)
            return false;
        return run(*surface);
    }
    PreviewSurface surface(paperSize(), scale());
    surface.setPageShown([this](const QImage& image) { showPage(image); });
    surface.setAskNextPage([this] {
        nextPageAnswer_.clear();
        if (closing_) {
            nextPageAnswer_ = QStringLiteral("False");
            return false;
        }
        nextPageAnswer_ = nextPage_->ask();
        return nextPageAnswer_ == u"True";
    });
    return run(surface);
}

bool PrintPreviewWindow::savePdf(const QString& fileName)
{
    if (running_)
        return false;
    bool written = false;
    handle([&] {
        PdfSurface surface(fileName, paperSize());
        run(surface);
        // A file that could not be written whole goes to the reporter with
        // its reason: refused, disk full or another failure of the device.
        if (!surface.isOpen())
            throw Failure(surface.failureNumber() != 0 ? surface.failureNumber() : err::PathFileAccess,
                          QStringLiteral("PDF file could not be written"), QDir::toNativeSeparators(fileName));
        written = true;
    });
    return written;
}

void PrintPreviewWindow::savePdfAsked()
{
    QString name = s_.document.header(sheet::HeaderField::調査地区No).trimmed();
    name = QStringLiteral("調査地区No%1.pdf").arg(name);
    const QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("PDFファイルに保存"), name,
                                                          QStringLiteral("PDF (*.pdf)"));
    if (!fileName.isEmpty())
        savePdf(fileName);
}

void PrintPreviewWindow::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    // A preview waiting for its next-page answer ends with this page.
    if (nextPage_->isVisible())
        nextPage_->close();
    QWidget::closeEvent(event);
    closing_ = false;
}

} // namespace vortan::report
