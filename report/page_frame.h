#pragma once
// The paper a report is laid out on and the margins around it, in
// millimetres, together with the page range of the run.

#include <QSizeF>

namespace vortan::report {

enum class MarginSide { Top = 0, Right = 1, Bottom = 2, Left = 3 };

struct Margins {
    double top = 15;
    double right = 10;
    double bottom = 15;
    double left = 10;

    double& operator[](MarginSide side);
    double operator[](MarginSide side) const;
};

// Millimetres of a paper length given in twips (1/1440 inch): twips / 56.7,
// the conversion every report geometry uses.
double twipsToReportMm(double twips);
// Twips of a length in millimetres, rounded to whole twips as a device reports it.
double mmToTwips(double mm);

struct PageFrame {
    double paperWidth = 209.97;    // twips / 56.7
    double paperHeight = 296.97;
    Margins margins;
    int rangeStart = 1;
    int rangeEnd = 32767;

    // A frame for paper of the given physical size in millimetres.
    static PageFrame forPaper(QSizeF paperMm, Margins margins);

    double reportWidth() const { return paperWidth - margins.left - margins.right; }
    double innerHeight() const { return paperHeight - margins.top - margins.bottom; }
    bool inRange(int page) const { return page >= rangeStart && page <= rangeEnd; }
};

} // namespace vortan::report
