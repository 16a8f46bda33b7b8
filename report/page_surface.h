#pragma once
// What every drawing surface shares: the pen, colour and font state, the
// page frame (paper, margins, page range), the page counter, and the rule
// that drawing on pages outside the range is suppressed while the run still
// goes through every page. A device only receives the primitives of pages in
// the range (deliver) and starts its next page when one of those pages ends
// and another of the range follows; the user may be asked first whether to
// go on (the next-page question of printing on paper).

#include "report/draw_surface.h"
#include "report/page_frame.h"

#include <functional>

namespace vortan::report {

class PageSurface : public DrawSurface {
public:
    // The paper, margins and page range of the next run; read by preparePage.
    void setPageFrame(const PageFrame& frame) { frame_ = frame; }
    const PageFrame& pageFrame() const { return frame_; }

    void setForeColor(ColourNumber colour) override { colour_ = colour; }
    void setDrawStyle(DrawStyle style) override { style_ = style; }
    void setLineWidth(double mm) override;
    void setLineWidthPixels(int pixels) override;
    void setFontName(const QString& name) override { fontName_ = name; }
    void setFontSize(double points) override { fontSize_ = points; }

    void moveToX(double x) override { x_ = x; }
    void moveToY(double y) override { y_ = y; }
    double x() const override { return x_; }
    double y() const override { return y_; }

    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2) override;
    void filledBox(double x1, double y1, double x2, double y2, ColourNumber colour) override;
    void textLeft(double x, double y, const QString& text) override;
    void textCentred(double x, double y, const QString& text) override;
    void textRight(double x, double y, const QString& text) override;
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    void picture(const QImage& image, double x, double y, double height) override;

    void preparePage() override;
    void clearPage() override {}
    bool newPage() override;
    void endDocument() override;

    int pageNumber() const override { return page_; }
    double reportWidth() const override { return frame_.reportWidth(); }
    double innerPageHeight() const override { return frame_.innerHeight(); }
    double paperHeight() const override { return frame_.paperHeight; }

    // True once a primitive has reached the device in this run.
    bool drewAnything() const { return drewAnything_; }

    // Asked when a page of the range ends and another of the range follows,
    // with the number of the page just finished: false stops the run after
    // that page. Unset, the run goes on.
    void setAskNextPage(std::function<bool(int page)> ask) { ask_ = std::move(ask); }

protected:
    // Draws one primitive of a page inside the range.
    virtual void deliver(const DrawPrimitive& primitive) = 0;
    // Opens the document (called by preparePage).
    virtual void beginDocument() = 0;
    // A page inside the range, before its end, is finished (called before
    // the question, if any).
    virtual void pageEnded() {}
    // ... and the run goes on: start the next page on the device.
    virtual void startNextPage() = 0;
    // Closes the document (called by endDocument).
    virtual void finishDocument() = 0;
    // Text extent in millimetres for the font of the primitive.
    virtual double measureWidth(const DrawPrimitive& text) const = 0;
    virtual double measureHeight(const DrawPrimitive& text) const = 0;

    // A primitive in the current pen, font and page, at the given corners.
    DrawPrimitive makePrimitive(PrimitiveKind kind, double x1 = 0, double y1 = 0, double x2 = 0,
                                double y2 = 0) const;

private:
    void text(double x, double y, const QString& text, TextAlign align);
    void send(DrawPrimitive&& primitive);

    PageFrame frame_;
    ColourNumber colour_ = Black;
    DrawStyle style_ = DrawStyle::Solid;
    double lineWidthMm_ = 0;
    int lineWidthPixels_ = 0;
    QString fontName_;
    double fontSize_ = 9;
    double x_ = 0;
    double y_ = 0;
    int page_ = 1;
    bool drewAnything_ = false;
    std::function<bool(int)> ask_;
};

} // namespace vortan::report
