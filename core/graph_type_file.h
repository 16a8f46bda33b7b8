#pragma once
// grpType.ini in the settings folder: the report graph kind, whether the Nd
// or the qa values are shown, and the name of the value the graphs draw.
// A text file of up to three lines, each ended by CR LF:
//   1. the graph kind as a decimal whole number ("0" bar graph, "1" line graph)
//   2. "1" when Nd値表示 is on, otherwise "2"
//   3. the graph data name: "Nd", "Qa" or "Mv"

#include "core/program_state.h"

#include <QString>

namespace vortan {

inline constexpr auto GraphTypeFileName = "grpType.ini";

// Reads the file of the settings folder into the state. When the file cannot
// be opened: graph kind 0, Nd値表示 on, Qa値表示 off, the graph data name
// unchanged. Otherwise the graph kind is the numeric value of line 1 (0 when
// it is none); a second line "1" sets Nd値表示 on and Qa値表示 off, any other
// second line the reverse; a third line becomes the graph data name. Lines
// that are absent leave their values as they were.
void readGraphTypeFile(const QString& settingsFolder, ProgramState& state);

// Creates or replaces the file with the three lines. Throws Failure when it
// cannot be written; the old file then stays as it was.
void writeGraphTypeFile(const QString& settingsFolder, const ProgramState& state);

} // namespace vortan
