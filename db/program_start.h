#pragma once
// The part of the main window's load that needs no window, shared by the
// window program and vortan-cli: read the settings, open the survey database
// and then the postal database into the workspace, and bring the survey
// database to the current layout. A failure is reported and ends the load at
// its step; the reporter's answer says whether the program ends.

#include "core/program_state.h"
#include "core/settings_store.h"
#include "core/user_interface.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace vortan::db {

class Workspace;

enum class LoadStep { Settings, SurveyDatabase, PostalDatabase, SchemaVersion, Done };

struct ProgramLoadResult {
    LoadStep reached = LoadStep::Done;  // the failing step, Done when all ran
    std::int16_t action = 0;            // the reporter's answer (3: end the program)

    bool completed() const { return reached == LoadStep::Done; }
    bool endProgram() const;
};

struct ProgramLoadOptions {
    // Folder the default database paths and ini位置 derive from.
    QString programFolder;
    // Runs after the store was read and before the settings are taken from
    // it: vortan-cli puts its command-line paths into the store here.
    std::function<void(SettingsStore&)> adjustStore;
    // Runs after the settings were taken and before the survey database at
    // データ位置 is opened: the window program offers here to bring an old
    // Access database across, and may point データ位置 at the new one. A
    // failure it throws is reported and ends the load at the survey database.
    std::function<void(SettingsStore&, ProgramState&)> beforeSurveyOpen;
};

// Loads the store from its file, LoadSettings, opens the survey database at
// データ位置 and the postal database at 住所位置, and runs the schema check.
// Failures go to ReportError with `ui`.
ProgramLoadResult LoadProgram(SettingsStore& store, ProgramState& state, Workspace& workspace,
                              UserInterface& ui, const ProgramLoadOptions& options);
ProgramLoadResult LoadProgram(SettingsStore& store, ProgramState& state, Workspace& workspace,
                              UserInterface& ui);

// The end of a run: closes the survey and the postal database, then writes
// the settings back to the store. A failure to write is reported; returns the
// reporter's answer, 0 when all went well.
std::int16_t CloseProgram(SettingsStore& store, ProgramState& state, Workspace& workspace,
                          UserInterface& ui);

} // namespace vortan::db
