#pragma once
// What every screen does with a failure its command could not handle: the
// error reporter shows it, and when the reporter's answer is to end the
// program, the program ends — through the main window's end when the screen
// was given it, else by leaving the event loop.

#include "core/error_reporter.h"

#include <cstdint>
#include <functional>

namespace vortan {

class Failure;

// Ends the program when `answer` (a reporter's action code) says so.
void EndProgramIfAsked(std::int16_t answer, const std::function<void()>& endProgram);

// Reports `failure` with ReportError and acts on the answer.
void ReportFailure(const Failure& failure, const ErrorContext& context, const std::function<void()>& endProgram);

} // namespace vortan
