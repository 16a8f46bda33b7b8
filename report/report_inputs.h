#pragma once
// What a report reads: the survey on the data sheet, the settings, the user
// interface for the busy text and the window events, and the survey
// database for the soil colours and the address labels.

#include <QStringList>

namespace vortan {
struct ProgramState;
class UserInterface;
}
namespace vortan::db {
class Database;
}
namespace vortan::calc {
class PenetrationCalculator;
}
namespace vortan::sheet {
class SurveyDocument;
}

namespace vortan::report {

struct ReportInputs {
    const sheet::SurveyDocument& document;
    const ProgramState& state;
    UserInterface& ui;
    db::Database* survey = nullptr;   // may be absent: soils then draw black
    // The address-label master list (element 0 empty). When it is empty and
    // the location label needs it, it is read from the survey database.
    QStringList addressLabels;
    // The calculation, for the qu of the depth chart (the cohesion of each
    // record's soil); without it the depth chart draws no qu bars.
    calc::PenetrationCalculator* calculator = nullptr;
};

// Report type as it is printed: 0 and 1 the record sheet (1), 2 the depth chart.
inline int printedReportType(int reportType)
{
    return reportType == 2 ? 2 : 1;
}

} // namespace vortan::report
