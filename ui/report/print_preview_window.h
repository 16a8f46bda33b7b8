#pragma once
// F_印刷フォーム: previews and prints the report of the current type for the
// survey on the data sheet. It owns the margins, the page range, the zoom and
// the printer; the report draws on the preview page, on the printer or, with
// the PDF button, into a PDF file, through the same run.
//
// The preview shows one page at a time and is paged through with 前のページ /
// 次のページ ("n / m ページ"); it opens zoomed so that a whole page shows, and
// zooms to the page or to the width on request. The page count and the range
// follow the survey: they are counted again, and the range reset to all
// pages, whenever the window is shown and whenever the survey on the data
// sheet, the report type or the report options change. Printing on paper
// asks before each further page ("次のページを印刷しますか？"); the preview
// and PDF files never ask.

#include "report/page_surface.h"
#include "report/print_session.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;
class QToolBar;

namespace vortan {
struct ProgramState;
class SettingsStore;
class UserInterface;
}
namespace vortan::calc {
class PenetrationCalculator;
}
namespace vortan::db {
class Workspace;
}
namespace vortan::sheet {
class SurveyDocument;
}

namespace vortan::report {

class NextPageDialog;
class QtPrinterPort;

class PrintPreviewWindow : public QWidget {
    Q_OBJECT
public:
    struct Services {
        const sheet::SurveyDocument& document;
        ProgramState& state;
        UserInterface& ui;
        db::Workspace* workspace = nullptr;   // soil colours, address labels, the cohesion of qu
        SettingsStore* store = nullptr;       // margins changed in the window are written to it
    };

    // How the preview's zoom is chosen: the zoom box, or fitted to the
    // viewport (a whole page, or the page's width).
    enum class ZoomMode { Box, FitPage, FitWidth };

    // With the system's printer.
    explicit PrintPreviewWindow(Services services, QWidget* parent = nullptr);
    // With a given printer (tests give one of known borders). Printing then
    // draws on the surface that `paperSurface` makes (the printer's when unset).
    PrintPreviewWindow(Services services, std::unique_ptr<PrinterPort> printer, QWidget* parent = nullptr);
    ~PrintPreviewWindow() override;

    PrintSession& session() { return *session_; }
    void setPaperSurfaceFactory(std::function<std::unique_ptr<PageSurface>()> factory);

    // The zoom box text ("100%"); setting it zooms by the box.
    void setZoomText(const QString& text);
    QString zoomText() const;
    ZoomMode zoomMode() const { return zoomMode_; }
    // Fits the zoom to the viewport and shows the current page again.
    void fitZoom(ZoomMode mode);

    // Checks one margin box against the printer and takes its value (0 top,
    // 1 right, 2 bottom, 3 left); a changed margin is kept in the settings.
    void adjustMargin(int side);
    // Sizes the preview page for the zoom.
    void fitPageToZoom();
    // The platform printer dialog; "Portrait. " or "Landscape. ".
    QString showPrinterDialog();
    // Counts the pages of the current type and sets the end page box.
    void refreshEndPage();
    // Selects all pages: start 1, end the page count, boxes disabled.
    void selectAllPages();

    // printMode true: prints the range on paper. False: shows the first page
    // of the range in the preview.
    bool runReport(bool printMode);
    // Shows page `page` of the range in the preview (clamped to the range).
    void showPreviewPage(int page);
    int previewPage() const { return previewPage_; }
    int pageCount() const { return pageCount_; }
    // Runs the report into a PDF file with the current range; false when
    // nothing was written.
    bool savePdf(const QString& fileName);

    const QImage& previewImage() const { return preview_; }
    bool running() const { return running_; }
    // The answer of the last next-page question: "", "True" or "False".
    const QString& nextPageAnswer() const { return nextPageAnswer_; }
    NextPageDialog* nextPageDialog() const { return nextPage_; }
    // Called at the end of every run with whether it went through to its end.
    void setRunFinishedHandler(std::function<void(bool completed)> handler) { runFinished_ = std::move(handler); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    // The parts build() puts together: the toolbar, the margin boxes, the
    // page range with the zoom box, and the page inside its scrolled viewport.
    void buildToolbar();
    QGroupBox* buildMargins();
    QGroupBox* buildRangeAndZoom();
    void buildViewport();
    void followDocument();
    void formActivate();
    void afterSettingsDialog();
    void openReportOptions();
    void savePdfAsked();
    void surveyChanged(bool structure);
    bool run(PageSurface& surface);
    Margins marginBoxes() const;
    void takeMarginsAndRange();
    void keepMargin(MarginSide side, double value);
    void showPage(const QImage& image);
    void updateNavigation();
    int firstPreviewPage() const;
    int lastPreviewPage() const;
    bool nothingToPrint();
    void setRunning(bool running);
    double scale() const;
    QSizeF paperSize() const;
    ReportInputs inputs() const;
    void handle(const std::function<void()>& command);

    Services s_;
    std::unique_ptr<PrinterPort> printer_;
    QtPrinterPort* qtPrinter_ = nullptr;
    std::unique_ptr<PrintSession> session_;
    std::unique_ptr<calc::PenetrationCalculator> calculator_;
    std::function<std::unique_ptr<PageSurface>()> paperSurface_;
    std::function<void(bool)> runFinished_;

    QToolBar* toolbar_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    std::array<QLineEdit*, 4> margin_{};
    QRadioButton* allPages_ = nullptr;
    QRadioButton* givenPages_ = nullptr;
    QLineEdit* startPage_ = nullptr;
    QLineEdit* endPage_ = nullptr;
    QComboBox* zoom_ = nullptr;
    QScrollArea* viewport_ = nullptr;
    QLabel* page_ = nullptr;
    NextPageDialog* nextPage_ = nullptr;

    QImage preview_;
    QString nextPageAnswer_;
    ZoomMode zoomMode_ = ZoomMode::FitPage;
    int previewPage_ = 1;
    int pageCount_ = 0;
    bool running_ = false;
    bool closing_ = false;
    bool refreshQueued_ = false;
    bool refitQueued_ = false;
    bool structureChanged_ = false;
};

} // namespace vortan::report
