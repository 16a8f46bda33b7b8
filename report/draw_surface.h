#pragma once
// The drawing surface the reports draw on, in millimetres from the top-left
// corner inside the page margins. The same report code draws on paper, into
// PDF files, on the on-screen preview page and into a recording; which one is
// decided by the surface handed to it. Layout code knows no QPainter.

#include "report/draw_primitive.h"

#include <QImage>
#include <QString>

namespace vortan::report {

class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    // --- pen and font
    virtual void setForeColor(ColourNumber colour) = 0;
    virtual void setDrawStyle(DrawStyle style) = 0;
    // Millimetres, converted to device pixels (at least one; 0 means one pixel).
    virtual void setLineWidth(double mm) = 0;
    // A width given straight in device pixels (the polyline of the line graph).
    virtual void setLineWidthPixels(int pixels) = 0;
    virtual void setFontName(const QString& name) = 0;
    // Points; the preview multiplies them by its zoom.
    virtual void setFontSize(double points) = 0;

    // --- pen position
    virtual void moveToX(double x) = 0;
    virtual void moveToY(double y) = 0;
    virtual double x() const = 0;
    virtual double y() const = 0;

    // --- drawing; suppressed on pages outside the page range
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void box(double x1, double y1, double x2, double y2) = 0;
    virtual void filledBox(double x1, double y1, double x2, double y2, ColourNumber colour) = 0;
    // Text with its top at y: left-aligned at x, centred on x, or ending at x.
    virtual void textLeft(double x, double y, const QString& text) = 0;
    virtual void textCentred(double x, double y, const QString& text) = 0;
    virtual void textRight(double x, double y, const QString& text) = 0;
    virtual double textWidth(const QString& text) const = 0;
    virtual double textHeight(const QString& text) const = 0;
    // A picture with its top-left corner at (x, y), `height` mm tall, its
    // width following the picture's proportions.
    virtual void picture(const QImage& image, double x, double y, double height) = 0;

    // --- pages
    // Computes the report width and the inner page height from the paper and
    // the margins, puts the pen at y = 0 and starts page 1.
    virtual void preparePage() = 0;
    // Preview only: erases the page and outlines the area inside the margins.
    virtual void clearPage() = 0;
    // Ends the current page and starts the next one. False when the user
    // declined to go on (preview): the report then stops after this page.
    virtual bool newPage() = 0;
    virtual void endDocument() = 0;

    // --- state the reports read
    virtual int pageNumber() const = 0;
    virtual double reportWidth() const = 0;        // W: paper width minus the side margins
    virtual double innerPageHeight() const = 0;    // paper height minus top and bottom margins
    virtual double paperHeight() const = 0;        // page height in twips / 56.7
    virtual bool isPrinting() const = 0;           // paper or file rather than the screen
};

} // namespace vortan::report
