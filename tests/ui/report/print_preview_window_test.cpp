// The print and preview window driven headless: the preview shown whole on
// opening and paged through, the page range, the margin boxes kept in the
// settings, the next-page question of printing on paper, a missing printer,
// a new report type, a survey without a marked point and a PDF file that
// cannot be written. (The range following the survey on the data sheet is
// shown in the intake tests' typical road.)

#include "core/settings_store.h"
#include "ui/report/next_page_dialog.h"
#include "ui/report/qt_printer_port.h"
#include "ui/report/print_preview_window.h"
#include "report/report_fixture.h"
#include "support/failing_devices.h"
#include "support/reporter_texts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vortan;
using namespace vortan::report;

namespace {

PrinterGeometry a4WithBorder()
{
    PrinterGeometry g = PrinterGeometry::borderless(QSizeF(210, 297));
    g.offsetX = 4.2;
    g.offsetY = 4.2;
    g.printableWidth = 210 - 8.4;
    g.printableHeight = 297 - 8.4;
    return g;
}

struct WindowTest : ::testing::Test {
    test::ReportFixture f;
    std::unique_ptr<PrintPreviewWindow> window;
    int finishedRuns = 0;
    bool lastCompleted = false;

    SettingsStore* storeIn = nullptr;
    std::unique_ptr<PrinterPort> printer = std::make_unique<FixedPrinter>(a4WithBorder());

    void open(int points, int rowsEach)
    {
        for (int i = 1; i <= points; ++i)
            f.addRows(f.addPoint(QString::number(i)), rowsEach);
        window = std::make_unique<PrintPreviewWindow>(
            PrintPreviewWindow::Services{*f.doc, f.state, f.ui, nullptr, storeIn}, std::move(printer));
        window->setPaperSurfaceFactory([] { return std::unique_ptr<PageSurface>(std::make_unique<RecordingSurface>()); });
        window->setRunFinishedHandler([this](bool completed) {
            ++finishedRuns;
            lastCompleted = completed;
        });
    }

    template <typename T> T* child(const QString& name) { return window->findChild<T*>(name); }
    QAction* action(const QString& key) { return window->findChild<QAction*>(key); }

    // Answers the next-page prompt each time it shows, in order.
    void answerPrompts(std::vector<bool> answers)
    {
        auto* timer = new QTimer(window.get());
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, answers]() mutable {
            NextPageDialog* prompt = window->nextPageDialog();
            if (!prompt->isVisible() || answers.empty())
                return;
            const bool yes = answers.front();
            answers.erase(answers.begin());
            prompt->findChild<QPushButton*>(yes ? QStringLiteral("cmdYes") : QStringLiteral("cmdNo"))->click();
            if (answers.empty())
                timer->stop();
        });
        timer->start();
    }

    void showAndWait()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return finishedRuns > 0; }, 5000));
    }
};

TEST_F(WindowTest, OpeningShowsTheFirstOfTheCountedPagesWholeAtOnce)
{
    open(3, 10);
    showAndWait();
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("Margin(0)"))->text(), QStringLiteral("15"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("txt_終了ページ"))->text(), QStringLiteral("3"));
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("opt範囲(0)"))->isChecked());
    EXPECT_FALSE(child<QLineEdit>(QStringLiteral("txt_開始ページ"))->isEnabled());
    EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_ページ"))->text(), QStringLiteral("1 / 3 ページ"));
    // The whole page fits the viewport; no question was asked.
    EXPECT_EQ(window->zoomMode(), PrintPreviewWindow::ZoomMode::FitPage);
    const QSize room = child<QWidget>(QStringLiteral("Picture1"))->size();
    EXPECT_LE(window->previewImage().height(), room.height());
    EXPECT_GT(window->previewImage().height(), room.height() * 3 / 4);
    EXPECT_TRUE(f.ui.messages().empty());
    // Something dark was drawn inside the margins: the header frame's corner.
    const double ppm = 96 / 25.4 * window->previewImage().width() / 794.0;
    EXPECT_LT(qGray(window->previewImage().pixel(int(10.3 * ppm), int(15.3 * ppm))), 100);
}

TEST_F(WindowTest, PagingThroughThePreviewAndFittingItsWidth)
{
    open(3, 10);
    showAndWait();
    QAction* previous = action(QStringLiteral("tb_PrevPage"));
    QAction* next = action(QStringLiteral("tb_NextPage"));
    EXPECT_FALSE(previous->isEnabled());
    next->trigger();
    next->trigger();
    EXPECT_EQ(window->previewPage(), 3);
    EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_ページ"))->text(), QStringLiteral("3 / 3 ページ"));
    EXPECT_FALSE(next->isEnabled());
    previous->trigger();
    EXPECT_EQ(window->previewPage(), 2);
    EXPECT_TRUE(next->isEnabled() && previous->isEnabled());
    // Page 2 holds point 2: its header differs from page 1's.
    const QImage second = window->previewImage();
    previous->trigger();
    EXPECT_NE(window->previewImage(), second);

    action(QStringLiteral("tb_FitWidth"))->trigger();
    const int room = child<QScrollArea>(QStringLiteral("Picture1"))->viewport()->width();
    EXPECT_LE(window->previewImage().width(), room);
    EXPECT_GT(window->previewImage().width(), room - 40);
    EXPECT_EQ(window->previewPage(), 1);
}

TEST_F(WindowTest, MarginBoxesAreCheckedAgainstThePrinterAndKeptInTheSettings)
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("Vortan.ini")));
    storeIn = &store;
    open(1, 3);
    showAndWait();
    QLineEdit* left = child<QLineEdit>(QStringLiteral("Margin(3)"));
    left->setText(QStringLiteral("0"));
    window->adjustMargin(3);
    EXPECT_EQ(left->text(), QStringLiteral("5"));
    EXPECT_EQ(window->session().margins().left, 5);
    ASSERT_EQ(f.ui.messages().size(), 1u);
    EXPECT_EQ(f.ui.lastMessage().text,
              QStringLiteral("設定された左余白は小さすぎるため、ご使用されているプリンタの設定できる最小値にしました。"));

    // Enter in a box runs the check and refreshes the end page.
    QLineEdit* top = child<QLineEdit>(QStringLiteral("Margin(0)"));
    top->setFocus();
    top->setText(QStringLiteral("250"));
    QTest::keyClick(top, Qt::Key_Return);
    EXPECT_EQ(top->text(), QStringLiteral("208"));
    EXPECT_EQ(f.ui.lastMessage().text, QStringLiteral("設定された上余白は大きすぎるため設定を調整しました。"));

    // Both margins as taken went to the "rep" keys of the settings file at once.
    SettingsStore written(store.filePath());
    written.load();
    EXPECT_EQ(written.value(QStringLiteral("rep"), QStringLiteral("Left Margin")), QStringLiteral("5"));
    EXPECT_EQ(written.value(QStringLiteral("rep"), QStringLiteral("Top Margin")), QStringLiteral("208"));
    EXPECT_FALSE(written.contains(QStringLiteral("rep"), QStringLiteral("Right Margin")));   // unchanged
    EXPECT_EQ(f.state.settings.TopMargin, QStringLiteral("208"));
}

TEST_F(WindowTest, PrintingWithTheRangeTwoToThreeSendsOnlyThosePagesToThePrinter)
{
    open(5, 10);
    showAndWait();
    auto* kept = new RecordingSurface;
    window->setPaperSurfaceFactory([kept] { return std::unique_ptr<PageSurface>(kept); });
    child<QRadioButton>(QStringLiteral("opt範囲(1)"))->setChecked(true);
    EXPECT_TRUE(child<QLineEdit>(QStringLiteral("txt_開始ページ"))->isEnabled());
    child<QLineEdit>(QStringLiteral("txt_開始ページ"))->setText(QStringLiteral("2"));
    child<QLineEdit>(QStringLiteral("txt_終了ページ"))->setText(QStringLiteral("3"));
    // The run owns the surface only while it lasts; read it inside the handler.
    std::vector<int> pages;
    int devicePages = 0;
    window->setRunFinishedHandler([&](bool) {
        pages = kept->pagesDrawn();
        devicePages = kept->devicePages();
    });
    answerPrompts({true});   // on paper the one question: after page 2
    action(QStringLiteral("tb_Print"))->trigger();
    EXPECT_EQ(window->nextPageAnswer(), QStringLiteral("True"));
    EXPECT_EQ(pages, (std::vector<int>{2, 3}));
    EXPECT_EQ(devicePages, 2);
    // The margins of the run map through the printer's border on paper.
    EXPECT_EQ(window->session().pageFrame().margins.left, 10);

    // Selecting all pages again resets the range.
    child<QRadioButton>(QStringLiteral("opt範囲(0)"))->setChecked(true);
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("txt_開始ページ"))->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("txt_終了ページ"))->text(), QStringLiteral("5"));
    EXPECT_FALSE(child<QLineEdit>(QStringLiteral("txt_終了ページ"))->isEnabled());
}

TEST_F(WindowTest, ANewReportTypeShowsItsFirstPageAtOnce)
{
    open(7, 10);
    showAndWait();
    EXPECT_EQ(window->pageCount(), 7);
    QTimer::singleShot(50, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("Picture1(2)")), Qt::LeftButton);
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    });
    action(QStringLiteral("tb_Type"))->trigger();
    // Seven points, five to a page: a landscape first page of two.
    EXPECT_EQ(window->pageCount(), 2);
    EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_ページ"))->text(), QStringLiteral("1 / 2 ページ"));
    EXPECT_GT(window->previewImage().width(), window->previewImage().height());
}

TEST_F(WindowTest, WithoutAPrinterPrintingShowsThePrinterMessage)
{
    auto port = std::make_unique<QtPrinterPort>();
    // What a system without printers gives: a PDF printer without a file.
    port->printer().setOutputFormat(QPrinter::PdfFormat);
    port->printer().setOutputFileName(QString());
    printer = std::move(port);
    open(1, 3);
    window->setPaperSurfaceFactory({});
    showAndWait();
    action(QStringLiteral("tb_Print"))->trigger();
    ASSERT_EQ(f.ui.messages().size(), 1u);
    EXPECT_EQ(f.ui.lastMessage().text,
              QStringLiteral("プリンタが設定されていないため使用できません。プリンタをインストール後ご使用ください。"));
    EXPECT_EQ(f.ui.lastMessage().icon, MessageIcon::Critical);
    EXPECT_FALSE(f.ui.isBusy());
}

TEST_F(WindowTest, ASurveyWithoutAMarkedPointPrintsNothingAndSaysSo)
{
    open(0, 0);
    f.addRows(f.addPoint(QStringLiteral("1"), false), 3);
    showAndWait();
    EXPECT_EQ(child<QLabel>(QStringLiteral("lbl_ページ"))->text(), QStringLiteral("0 / 0 ページ"));
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("印刷する測点がありません。"));
    QTemporaryDir dir;
    EXPECT_FALSE(window->savePdf(dir.filePath(QStringLiteral("none.pdf"))));
    action(QStringLiteral("tb_Print"))->trigger();
    EXPECT_EQ(f.ui.messageTexts(), (QStringList{"印刷する測点がありません。", "印刷する測点がありません。"}));
    EXPECT_EQ(f.ui.lastMessage().icon, MessageIcon::Information);
}

} // namespace
