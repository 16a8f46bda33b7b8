#pragma once
// The error reporter: every command handler passes the failure it caught
// here. The reporter shows the program's message for the error number, may
// open the options dialog on the page where the cause can be mended, and
// answers with an action code: end the program, or abandon the command.
//
// Messages go through the user interface with an empty title (the program's
// own), the buttons Ok, and the icon of their row. Line breaks inside a
// message are "\n". Where a row carries the error number, its decimal text
// follows the message without a separator.

#include "core/failure.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "core/user_interface.h"

#include <cstdint>

namespace vortan {

// What the caller does after the report.
namespace action {
inline constexpr std::int16_t Nothing = 0;            // abandon the command
inline constexpr std::int16_t EndProgram = 3;         // end the program at once
inline constexpr std::int16_t Reported = 4;           // reported; abandon the command
inline constexpr std::int16_t DatabaseReported = 5;   // a database problem was reported
} // namespace action

// Tabs of the options dialog the reporter opens (1-based).
inline constexpr int OptionsTabPosition = 2;   // "位置": the serial port
inline constexpr int OptionsTabOther = 3;      // "その他": the database paths

struct ErrorContext {
    UserInterface& ui;
    ProgramState& state;
    bool surveyDatabaseOpen = false;
};

// The entry point of every command handler: closes the about window, then
// reports database engine numbers and hands the others on to
// ReportRuntimeError. 3024 also sets state.databaseNotFound and opens the
// options dialog on its "その他" tab.
std::int16_t ReportError(const Failure& failure, const ErrorContext& context);

// Run-time library and serial port numbers; the others go on to
// ReportFileError. 8002 and 8005 open the options dialog on its "位置" tab.
std::int16_t ReportRuntimeError(const Failure& failure, const ErrorContext& context);

// File system and process numbers, and the generic message for every number
// known nowhere: description, a blank, the number and the source, no icon,
// action 0.
std::int16_t ReportFileError(const Failure& failure, const ErrorContext& context);

// The message when no program could be started to open the manual: on
// Windows the browser the program starts for it, elsewhere the desktop's PDF
// viewer is missing.
QString ManualViewerMissingText(platform::PathStyle style);

} // namespace vortan
