#include "ui/report/print_preview_window.h"

#include "calc/penetration_calculator.h"
#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/settings_store.h"
#include "core/user_interface.h"
#include "db/workspace.h"
#include "ui/report/next_page_dialog.h"
#include "report/pdf_surface.h"
#include "report/preview_surface.h"
#include "ui/report/qt_printer_port.h"
#include "ui/report/printer_surface.h"
#include "ui/report/report_options_dialog.h"
#include "report/report_run.h"
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

// The settings key of each margin box, in the section "rep".
const char* const MarginKeys[] = {"Top Margin", "Right Margin", "Bottom Margin", "Left Margin"};

QString& marginSetting(AppSettings& settings, MarginSide side)
{
    switch (side) {
    case MarginSide::Top: return settings.TopMargin;
    case MarginSide::Right: return settings.RightMargin;
    case MarginSide::Bottom: return settings.BottomMargin;
    case MarginSide::Left: break;
    }
    return settings.LeftMargin;
}

// Room left around the page inside the viewport when the zoom is fitted.
constexpr int FitBorder = 12;

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
    if (s_.workspace)
        calculator_ = std::make_unique<calc::PenetrationCalculator>(*s_.workspace, s_.state);
    build();
    followDocument();
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

    buildToolbar();
    QGroupBox* margins = buildMargins();
    QGroupBox* range = buildRangeAndZoom();
    buildViewport();
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
    updateNavigation();
}

void PrintPreviewWindow::buildToolbar()
{
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
    previous_ = button("tb_PrevPage", QStringLiteral("前のページ"), QStringLiteral("前のページを表示します"));
    previous_->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(previous_, &QAction::triggered, this, [this] { showPreviewPage(previewPage_ - 1); });
    pageLabel_ = new QLabel(toolbar_);
    pageLabel_->setObjectName(QStringLiteral("lbl_ページ"));
    pageLabel_->setAlignment(Qt::AlignCenter);
    pageLabel_->setMinimumWidth(90);
    toolbar_->addWidget(pageLabel_);
    next_ = button("tb_NextPage", QStringLiteral("次のページ"), QStringLiteral("次のページを表示します"));
    next_->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(next_, &QAction::triggered, this, [this] { showPreviewPage(previewPage_ + 1); });
    // Page Up / Page Down page through the preview while the window has the focus.
    for (QAction* action : {previous_, next_}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    toolbar_->addSeparator();
    connect(button("tb_FitPage", QStringLiteral("ページ全体"), QStringLiteral("ページ全体が見えるように表示します")),
            &QAction::triggered, this, [this] { fitZoom(ZoomMode::FitPage); });
    connect(button("tb_FitWidth", QStringLiteral("幅に合わせる"), QStringLiteral("ページの幅に合わせて表示します")),
            &QAction::triggered, this, [this] { fitZoom(ZoomMode::FitWidth); });
    toolbar_->addSeparator();
    connect(button("tb_Prop", QStringLiteral("プリンタの設定"), QStringLiteral("プリンタを選択します")),
            &QAction::triggered, this, [this] {
                handle([this] {
                    showPrinterDialog();
                    fitPageToZoom();
                    refreshEndPage();
                    afterSettingsDialog();
                });
                previewPage_ = 1;
                fitZoom(zoomMode_);
            });
    connect(button("tb_Type", QStringLiteral("レポートタイプ"), QStringLiteral("レポートタイプを選択します")),
            &QAction::triggered, this, &PrintPreviewWindow::openReportOptions);
}

QGroupBox* PrintPreviewWindow::buildMargins()
{
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
                adjustMargin(i);
                refreshEndPage();
            });
            showPreviewPage(previewPage_);
        });
    }
    return margins;
}

QGroupBox* PrintPreviewWindow::buildRangeAndZoom()
{
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
    // A new range is previewed from its first page once it is typed.
    for (QLineEdit* edit : {startPage_, endPage_}) {
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            if (!running_ && !closing_ && givenPages_->isChecked())
                showPreviewPage(firstPreviewPage());
        });
    }
    connect(zoom_, &QComboBox::activated, this, [this] {
        if (running_)
            return;
        zoomMode_ = ZoomMode::Box;
        fitPageToZoom();
        showPreviewPage(previewPage_);
    });
    zoom_->lineEdit()->installEventFilter(this);
    return range;
}

void PrintPreviewWindow::buildViewport()
{
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
}

void PrintPreviewWindow::followDocument()
{
    // A change of the points or of the rows of a point may change the page
    // count: the count and the range follow. Any other change only draws the
    // page shown again.
    using sheet::SurveyDocumentEvents;
    const SurveyDocumentEvents* events = &s_.document.events();
    const auto structure = [this] { surveyChanged(true); };
    connect(events, &SurveyDocumentEvents::pointsReset, this, structure);
    connect(events, &SurveyDocumentEvents::pointsInserted, this, structure);
    connect(events, &SurveyDocumentEvents::pointsRemoved, this, structure);
    connect(events, &SurveyDocumentEvents::recordsReset, this, structure);
    connect(events, &SurveyDocumentEvents::recordsInserted, this, structure);
    connect(events, &SurveyDocumentEvents::recordsRemoved, this, structure);
    connect(events, &SurveyDocumentEvents::pointChanged, this, [this](int, int first, int last) {
        surveyChanged(first <= sheet::PointColumn::印刷 && sheet::PointColumn::印刷 <= last);
    });
    connect(events, &SurveyDocumentEvents::recordsChanged, this, [this] { surveyChanged(false); });
    connect(events, &SurveyDocumentEvents::headerChanged, this, [this] { surveyChanged(false); });
}

void PrintPreviewWindow::surveyChanged(bool structure)
{
    structureChanged_ = structureChanged_ || structure;
    // A hidden window counts again when it is shown; many changes in a row
    // (a survey loading) make one refresh.
    if (!isVisible() || refreshQueued_)
        return;
    refreshQueued_ = true;
    QTimer::singleShot(running_ ? 100 : 0, this, [this] {
        refreshQueued_ = false;
        if (running_ || closing_) {
            surveyChanged(false);
            return;
        }
        const bool recount = structureChanged_;
        structureChanged_ = false;
        if (recount) {
            handle([this] { selectAllPages(); });
            showPreviewPage(1);
        } else {
            showPreviewPage(previewPage_);
        }
    });
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
            zoomMode_ = ZoomMode::Box;
            fitPageToZoom();
            showPreviewPage(previewPage_);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PrintPreviewWindow::setZoomText(const QString& text)
{
    zoomMode_ = ZoomMode::Box;
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

void PrintPreviewWindow::fitZoom(ZoomMode mode)
{
    if (running_)
        return;
    zoomMode_ = mode;
    if (mode != ZoomMode::Box) {
        const QSize full = PreviewSurface::pictureSize(paperSize(), 1.0);
        const QSize room = viewport_->viewport()->size() - QSize(FitBorder, FitBorder);
        double fitted = static_cast<double>(room.width()) / full.width();
        if (mode == ZoomMode::FitPage)
            fitted = std::min(fitted, static_cast<double>(room.height()) / full.height());
        else if (full.height() * fitted > room.height())
            fitted = static_cast<double>(room.width() - viewport_->verticalScrollBar()->sizeHint().width()) / full.width();
        // Whole percents, rounded down so that the page stays inside.
        const int percent = std::max(5, static_cast<int>(std::floor(fitted * 100)));
        zoom_->setEditText(QStringLiteral("%1%").arg(percent));
    }
    fitPageToZoom();
    showPreviewPage(previewPage_);
}

void PrintPreviewWindow::fitPageToZoom()
{
    const QSize size = PreviewSurface::pictureSize(paperSize(), scale());
    page_->setFixedSize(size);
    if (!preview_.isNull() && preview_.size() != size)
        page_->setPixmap(QPixmap());
}

Margins PrintPreviewWindow::marginBoxes() const
{
    Margins boxes;
    for (int i = 0; i < 4; ++i)
        boxes[static_cast<MarginSide>(i)] = numtext::leadingNumber(margin_[static_cast<std::size_t>(i)]->text());
    return boxes;
}

void PrintPreviewWindow::adjustMargin(int side)
{
    const auto which = static_cast<MarginSide>(side);
    const MarginCheck check = session_->checkMargin(which, marginBoxes());
    if (!check.message.isEmpty()) {
        margin_[static_cast<std::size_t>(side)]->setText(wholeNumberText(check.value));
        s_.ui.showMessage(check.message, MessageIcon::None);
    }
    session_->setMargin(which, check.value);
    keepMargin(which, check.value);
}

void PrintPreviewWindow::keepMargin(MarginSide side, double value)
{
    // A margin the user set stays for the next start: the settings and, at
    // once, the settings file.
    QString& stored = marginSetting(s_.state.settings, side);
    if (numtext::isNumeric(stored) && numtext::leadingNumber(stored) == value)
        return;
    stored = wholeNumberText(value);
    if (s_.store) {
        s_.store->setValue(QStringLiteral("rep"), QString::fromLatin1(MarginKeys[static_cast<int>(side)]), stored);
        s_.store->save();
    }
}

QString PrintPreviewWindow::showPrinterDialog()
{
    if (!qtPrinter_)
        return session_->printer().orientation() == PageOrientation::Landscape ? QStringLiteral("Landscape. ")
                                                                               : QStringLiteral("Portrait. ");
    return qtPrinter_->showDialog(this);
}

void PrintPreviewWindow::refreshEndPage()
{
    pageCount_ = session_->pageCount(s_.document);
    endPage_->setText(QString::number(pageCount_));
    updateNavigation();
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
        adjustMargin(i);
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
        dialog.setRefitHandler([this] { fitPageToZoom(); });
        dialog.exec();
        afterSettingsDialog();
    });
    // The first page of the report as it now looks, at once (a fitted zoom
    // is fitted again: the orientation may have turned).
    previewPage_ = 1;
    fitZoom(zoomMode_);
}

void PrintPreviewWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Every time the window is shown: the survey may have changed meanwhile.
    QTimer::singleShot(0, this, [this] {
        if (isVisible() && !running_)
            formActivate();
    });
}

void PrintPreviewWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (zoomMode_ == ZoomMode::Box || !isVisible() || refitQueued_)
        return;
    refitQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refitQueued_ = false;
        if (!running_ && !closing_ && zoomMode_ != ZoomMode::Box)
            fitZoom(zoomMode_);
    });
}

void PrintPreviewWindow::formActivate()
{
    structureChanged_ = false;
    handle([this] {
        if (zoom_->currentText().isEmpty())
            zoom_->setEditText(QStringLiteral("100%"));
        for (int i = 0; i < 4; ++i) {
            const auto side = static_cast<MarginSide>(i);
            margin_[static_cast<std::size_t>(i)]->setText(wholeNumberText(session_->margins()[side]));
        }
        for (int i = 0; i < 4; ++i)
            adjustMargin(i);
        viewport_->verticalScrollBar()->setValue(0);
        viewport_->horizontalScrollBar()->setValue(0);
        session_->setReportType(session_->reportType());
        fitPageToZoom();
        selectAllPages();
    });
    previewPage_ = 1;
    fitZoom(zoomMode_);
}

void PrintPreviewWindow::takeMarginsAndRange()
{
    session_->setMargins(marginBoxes());
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
    ReportInputs in{s_.document, s_.state, s_.ui, survey, {}};
    in.calculator = calculator_.get();
    return in;
}

bool PrintPreviewWindow::run(PageSurface& surface)
{
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

int PrintPreviewWindow::firstPreviewPage() const
{
    if (allPages_->isChecked())
        return 1;
    return std::max(1, static_cast<int>(numtext::leadingNumber(startPage_->text())));
}

int PrintPreviewWindow::lastPreviewPage() const
{
    if (allPages_->isChecked())
        return pageCount_;
    return std::min(pageCount_, static_cast<int>(numtext::leadingNumber(endPage_->text())));
}

void PrintPreviewWindow::updateNavigation()
{
    const int first = firstPreviewPage();
    const int last = lastPreviewPage();
    if (pageCount_ <= 0 || last < first) {
        pageLabel_->setText(QStringLiteral("0 / %1 ページ").arg(std::max(0, pageCount_)));
        previous_->setEnabled(false);
        next_->setEnabled(false);
        return;
    }
    pageLabel_->setText(QStringLiteral("%1 / %2 ページ").arg(previewPage_).arg(pageCount_));
    previous_->setEnabled(previewPage_ > first);
    next_->setEnabled(previewPage_ < last);
}

void PrintPreviewWindow::showPreviewPage(int page)
{
    if (running_)
        return;
    const int first = firstPreviewPage();
    const int last = lastPreviewPage();
    if (pageCount_ <= 0 || last < first) {
        // Nothing in the range: an empty sheet, and the reason in the status bar.
        QImage blank(PreviewSurface::pictureSize(paperSize(), scale()), QImage::Format_RGB32);
        blank.fill(Qt::white);
        showPage(blank);
        previewPage_ = 1;
        updateNavigation();
        if (pageCount_ <= 0)
            s_.ui.setStatusText(nothingToPrintMessage());
        if (runFinished_)
            runFinished_(true);
        return;
    }
    previewPage_ = std::clamp(page, first, last);
    // The run goes through every page and draws only this one: no question.
    session_->setMargins(marginBoxes());
    session_->setPageRange(previewPage_, previewPage_);
    PreviewSurface surface(paperSize(), scale());
    surface.setPageShown([this](const QImage& image) { showPage(image); });
    run(surface);
    updateNavigation();
}

bool PrintPreviewWindow::nothingToPrint()
{
    // The range the user typed stays; only the count is taken again.
    session_->setMargins(marginBoxes());
    pageCount_ = session_->pageCount(s_.document);
    if (pageCount_ > 0)
        return false;
    s_.ui.showMessage(nothingToPrintMessage(), MessageIcon::Information);
    return true;
}

bool PrintPreviewWindow::runReport(bool printMode)
{
    if (running_)
        return false;
    if (!printMode) {
        showPreviewPage(firstPreviewPage());
        return true;
    }
    std::unique_ptr<PageSurface> surface;
    handle([&] {
        if (nothingToPrint())
            return;
        if (paperSurface_) {
            surface = paperSurface_();
        } else if (qtPrinter_) {
            if (!qtPrinter_->canPrint())
                throw Failure(err::PrinterError, QStringLiteral("No printer is installed."),
                              QStringLiteral("F_印刷フォーム"));
            surface = std::make_unique<PrinterSurface>(qtPrinter_->printer());
        }
    });
    if (!surface)
        return false;
    // On paper the user may stop before each further page.
    surface->setAskNextPage([this](int) {
        nextPageAnswer_.clear();
        if (closing_) {
            nextPageAnswer_ = QStringLiteral("False");
            return false;
        }
        nextPageAnswer_ = nextPage_->ask();
        return nextPageAnswer_ == u"True";
    });
    takeMarginsAndRange();
    return run(*surface);
}

bool PrintPreviewWindow::savePdf(const QString& fileName)
{
    if (running_)
        return false;
    bool written = false;
    handle([&] {
        if (nothingToPrint())
            return;
        PdfSurface surface(fileName, paperSize());
        takeMarginsAndRange();
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
    // A print waiting for its next-page answer ends with this page.
    if (nextPage_->isVisible())
        nextPage_->close();
    QWidget::closeEvent(event);
    closing_ = false;
}

} // namespace vortan::report
