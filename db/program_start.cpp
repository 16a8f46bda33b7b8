#include "db/program_start.h"

#include "core/error_reporter.h"
#include "core/platform.h"
#include "core/settings_loader.h"
#include "db/schema_version.h"
#include "db/workspace.h"

namespace vortan::db {

bool ProgramLoadResult::endProgram() const
{
    return action == action::EndProgram;
}

ProgramLoadResult LoadProgram(SettingsStore& store, ProgramState& state, Workspace& workspace,
                              UserInterface& ui)
{
    return LoadProgram(store, state, workspace, ui, ProgramLoadOptions{platform::programFolder(), {}, {}});
}

ProgramLoadResult LoadProgram(SettingsStore& store, ProgramState& state, Workspace& workspace,
                              UserInterface& ui, const ProgramLoadOptions& options)
{
    ProgramLoadResult result;
    try {
        result.reached = LoadStep::Settings;
        state.settingsFile = store.filePath();
        store.load();
        if (options.adjustStore)
            options.adjustStore(store);
        LoadSettings(store, state,
                     options.programFolder.isEmpty() ? platform::programFolder() : options.programFolder);

        result.reached = LoadStep::SurveyDatabase;
        if (options.beforeSurveyOpen)
            options.beforeSurveyOpen(store, state);
        workspace.openSurvey(state.settings.データ位置);

        result.reached = LoadStep::PostalDatabase;
        workspace.openPostal(state.settings.住所位置);

        result.reached = LoadStep::SchemaVersion;
        CheckSchemaVersion(workspace);

        result.reached = LoadStep::Done;
    } catch (const Failure& failure) {
        result.action = ReportError(failure, ErrorContext{ui, state, workspace.surveyOpen()});
    }
    return result;
}

std::int16_t CloseProgram(SettingsStore& store, ProgramState& state, Workspace& workspace,
                          UserInterface& ui)
{
    try {
        workspace.closeSurvey();
        workspace.closePostal();
        SaveSettings(store, state.settings);
    } catch (const Failure& failure) {
        return ReportError(failure, ErrorContext{ui, state, workspace.surveyOpen()});
    }
    return 0;
}

} // namespace vortan::db
