// Renders the user manual, written in Markdown with pictures beside it, into
// the PDF file the help menu opens.
//   vortan_make_manual MANUAL.md OUTPUT.pdf
// A4 pages with the Japanese fonts the reports use, every chapter (second
// level heading) on a new page, pictures scaled down to the text width and
// page numbers at the foot of each page. A picture that cannot be read fails
// the build, so that a renamed screenshot never leaves a hole in the manual.

#include "core/font_substitutes.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>
#include <cstdio>

namespace {

constexpr int kResolution = 300;         // dots per inch of the PDF's layout
constexpr double kPictureDpi = 120.0;    // screen pixels per inch on paper, before fitting
constexpr double kMarginCm = 2.0;        // the text document's own page margin

int fail(const QString& message)
{
    std::fprintf(stderr, "vortan_make_manual: %s\n", message.toUtf8().constData());
    return 1;
}

// Headings in sizes that set them apart from the text, chapters in colour
// and on a new page each, the title centred.
void arrangeHeadings(QTextDocument& document)
{
    constexpr double sizes[] = {24, 16, 12.5};
    bool firstChapter = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 3)
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat text;
        text.setFontPointSize(sizes[level - 1]);
        text.setFontWeight(QFont::Bold);
        if (level <= 2)
            text.setForeground(QColor(0x1f, 0x3a, 0x68));
        cursor.mergeCharFormat(text);
        QTextBlockFormat format = block.blockFormat();
        format.setTopMargin(level == 3 ? 10 : 0);
        format.setBottomMargin(level == 3 ? 4 : 10);
        if (level == 1) {
            format.setAlignment(Qt::AlignHCenter);
            format.setTopMargin(120);
            format.setBottomMargin(20);
        } else if (level == 2 && !firstChapter) {
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        }
        if (level == 2)
            firstChapter = false;
        cursor.setBlockFormat(format);
    }
}

// Gives every picture a width that fits the text (both in the layout's units
// of 1/96 inch, which it scales to the device); returns the pictures that
// could not be read.
QStringList fitPictures(QTextDocument& document, double textWidth)
{
    QStringList missing;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
            const QImage image = resource.value<QImage>();
            if (image.isNull()) {
                missing << format.name();
                continue;
            }
            // Printing works on a copy of the document, which keeps the
            // resources added to it but not those read from files.
            document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
            const double natural = image.width() * 96.0 / kPictureDpi;
            const double width = std::min(natural, textWidth);
            format.setWidth(width);
            format.setHeight(width * image.height() / image.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return missing;
}

// Tables in a light grid with room in their cells.
void frameTables(QTextDocument& document)
{
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(1);
        format.setBorderBrush(QColor(0x80, 0x80, 0x80));
        format.setBorderCollapse(true);
        format.setCellPadding(12);
        table->setFormat(format);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    vortan::RegisterFontSubstitutes();
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3)
        return fail(QStringLiteral("usage: vortan_make_manual MANUAL.md OUTPUT.pdf"));

    QFile source(args[1]);
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(args[1]));
    const QString markdown = QString::fromUtf8(source.readAll());

    QSaveFile output(args[2]);
    if (!output.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1").arg(args[2]));
    QPdfWriter writer(&output);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(QStringLiteral("Vortan 取扱説明書"));
    writer.setCreator(QStringLiteral("Vortan"));

    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(args[1]).absolutePath() + QLatin1Char('/')));
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    arrangeHeadings(document);
    frameTables(document);
    const double textInches = writer.width() / double(kResolution) - 2 * kMarginCm / 2.54;
    const QStringList missing = fitPictures(document, textInches * 96.0);
    if (!missing.isEmpty())
        return fail(QStringLiteral("pictures not found: %1").arg(missing.join(QStringLiteral(", "))));

    // Printing lays the text out on the writer's pages with a margin of its
    // own and numbers the pages at their foot.
    document.print(&writer);
    if (!output.commit())
        return fail(QStringLiteral("cannot write %1").arg(args[2]));
    return 0;
}
