#pragma once
// The state every screen of one program run shares: the settings, what the
// side files of the settings folder gave, and the notices screens give each
// other.

#include "core/app_settings.h"
#include "core/formula_change_notice.h"

#include <QString>
#include <memory>
#include <vector>

namespace vortan {

// One line of rqtbl.csv: φ (degrees), Nc, Nγ, Nq, each kept as its text.
struct BearingFactorRow {
    QString phi;
    QString nc;
    QString ngamma;
    QString nq;
};

struct ProgramState {
    AppSettings settings;
    int graphKind = 0;                 // grpType.ini line 1: 0 bar graph, 1 line graph
    QString graphDataName;             // grpType.ini line 3: "Nd", "Qa" or "Mv"
    QString cardDrive;                 // cfdrive.ini: the remembered card drive
    std::vector<BearingFactorRow> bearingFactorTable;  // rqtbl.csv
    bool databaseNotFound = false;     // set by the reporter for 3024
    // Given by the formula and master editors after a save; shared by copies
    // of the state, since they belong to the same program run.
    std::shared_ptr<FormulaChangeNotice> formulaChanges = std::make_shared<FormulaChangeNotice>();
    QString settingsFile;              // the settings file the settings were read from
};

} // namespace vortan
