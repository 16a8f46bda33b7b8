#pragma once
// How a command of a formula or master editor ended.

namespace vortan::calc {

enum class EditorOutcome {
    Done,
    NotDone,      // refused, declined, invalid, or a failure was reported
    EndProgram,   // the error reporter asked to end the program
};

} // namespace vortan::calc
