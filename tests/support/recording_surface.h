#pragma once
// A surface that keeps every primitive that reaches its device, with its
// page, positions in millimetres, text, font, colour and line width. Tests
// assert on what a report drew, and the benchmark replays the recording onto
// a PDF writer. Page starts are kept as NewPage primitives and the end of
// the document as EndDocument, so the device pages can be counted.

#include "report/page_surface.h"

#include <functional>
#include <vector>

namespace vortan::report {

class RecordingSurface : public PageSurface {
public:
    RecordingSurface();

    // Whether the reports see paper (the default) or the screen.
    void setPrinting(bool printing) { printing_ = printing; }

    bool isPrinting() const override { return printing_; }

    const std::vector<DrawPrimitive>& primitives() const { return primitives_; }
    void clearRecording() { primitives_.clear(); }

    // Pages the device received (at least one once the document began).
    int devicePages() const;
    // Report pages that received at least one primitive, in order.
    std::vector<int> pagesDrawn() const;
    // All primitives of one report page / of one kind.
    std::vector<DrawPrimitive> onPage(int page) const;
    std::vector<DrawPrimitive> ofKind(PrimitiveKind kind) const;
    // Text primitives whose text is exactly `text` (optionally on one page).
    std::vector<DrawPrimitive> texts(const QString& text, int page = 0) const;
    int beganDocuments() const { return begun_; }

protected:
    void deliver(const DrawPrimitive& primitive) override;
    void beginDocument() override;
    void startNextPage() override;
    void finishDocument() override;
    double measureWidth(const DrawPrimitive& text) const override;
    double measureHeight(const DrawPrimitive& text) const override;

private:
    std::vector<DrawPrimitive> primitives_;
    bool printing_ = true;
    int begun_ = 0;
};

} // namespace vortan::report
