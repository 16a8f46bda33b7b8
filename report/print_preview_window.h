#pragma once
// F_印刷フォーム: previews and prints the report of the current type for the
// survey on the data sheet. It owns the margins, the page range, the zoom and
// the printer; the report draws on the preview page, on the printer or, with
// the PDF button, into a PDF file, through the same run.

#include "report/page_surface.h"
#include "report/print_session.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;
class QToolBar;

namespace vortan {
struct ProgramState;
class UserInterface;
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

// (No Q_OBJECT: the window declares no signals or slots of its own, and its
// Japanese-named operations would not pass the meta-object compiler.)
class PrintPreviewWindow : public QWidget {
public:
    struct Services {
        const sheet::SurveyDocument& document;
        ProgramState& state;
        UserInterface& ui;
        db::Workspace* workspace = nullptr;   // soil colours and address labels
    };

    // With the system's printer.
    explicit PrintPreviewWindow(Services services, QWidget* parent = nullptr);
    // With a given printer (tests give one of known borders). Printing then
    // draws on the surface that `paperSurface` makes (the printer's when unset).
    PrintPreviewWindow(Services services, std::unique_ptr<PrinterPort> printer, QWidget* parent = nullptr);
    ~PrintPreviewWindow() override;

    PrintSession& session() { return *session_; }
    void setPaperSurfaceFactory(std::function<std::unique_ptr<PageSurface>()> factory);

    // The zoom box text ("100%"); the main window fills it at start-up.
    void setZoomText(const QString& text);
    QString zoomText() const;

    // Checks one margin box against the printer and takes its value (0 top,
    // 1 right, 2 bottom, 3 left).
    void Mrgin調整(int side);
    // Sizes the preview page for the zoom.
    void Pic尺度合せ();
    // The platform printer dialog; "Portrait. " or "Landscape. ".
    QString Show_CommonDialog();
    // Sets the end page box to the page count of the current type.
    void refreshEndPage();
    // Selects all pages: start 1, end the page count, boxes disabled.
    void selectAllPages();

    // Runs the report on the preview page (printMode false) or on paper.
    bool runReport(bool printMode);
    // Runs the report into a PDF file with the current range; false when
    // the file could not be written.
    bool savePdf(const QString& fileName);

    const QImage& previewImage() const { return preview_; }
    bool running() const { return running_; }
    // The answer of the last next-page prompt: "", "True" or "False".
    const QString& nextPageAnswer() const { return nextPageAnswer_; }
    NextPageDialog* nextPageDialog() const { return nextPage_; }
    // Called at the end of every run with whether it went through to its end.
    void setRunFinishedHandler(std::function<void(bool completed)> handler) { runFinished_ = std::move(handler); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void formActivate();
    void afterSettingsDialog();
    void openReportOptions();
    void savePdfAsked();
    bool run(PageSurface& surface);
    void takeMarginsAndRange();
    void showPage(const QImage& image);
    void setRunning(bool running);
    double scale() const;
    QSizeF paperSize() const;
    ReportInputs inputs() const;
    void handle(const std::function<void()>& command);

    Services s_;
    std::unique_ptr<PrinterPort> printer_;
    QtPrinterPort* qtPrinter_ = nullptr;
    std::unique_ptr<PrintSession> session_;
    std::function<std::unique_ptr<PageSurface>()> paperSurface_;
    std::function<void(bool)> runFinished_;

    QToolBar* toolbar_ = nullptr;
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
    bool running_ = false;
    bool activated_ = false;
    bool closing_ = false;
};

} // namespace vortan::report
