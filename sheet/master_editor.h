#pragma once
// The generic master editor's state and commands: one master table loaded
// whole into a grid of texts, edited, and saved back by deleting every row
// of the table and inserting the grid's rows in order, in one transaction.
// A failed save is rolled back, so the table stays as it was, and reported
// through the error reporter.

#include "calc/editor_outcome.h"
#include "core/text_grid.h"
#include "sheet/master_definitions.h"

#include <vector>

namespace vortan {
struct ProgramState;
class UserInterface;
class Failure;
}
namespace vortan::db {
class Workspace;
}

namespace vortan::sheet {

using calc::EditorOutcome;

class MasterEditor {
public:
    struct Services {
        ProgramState& state;
        db::Workspace& workspace;
        UserInterface& ui;
    };

    MasterEditor(const MasterDefinition& master, Services services);

    const MasterDefinition& master() const { return master_; }
    TextGrid& grid() { return grid_; }
    const TextGrid& grid() const { return grid_; }

    bool hasUnsavedChanges() const { return changed_; }
    // Any change of a cell or of the rows.
    void markChanged() { changed_ = true; }

    // Resets the grid to one empty row.
    void clear();
    // Loads the whole table after the rows already in the grid are dropped;
    // one empty row follows the loaded ones. With messages, tells when the
    // table is empty and when the rows were loaded.
    EditorOutcome load(bool withMessages);
    // Writes the grid's rows up to the last one holding data (empty rows
    // between give empty values), then marks the formulas changed.
    EditorOutcome save();

    // Adds one row at the end of the grid.
    void addRow();
    // Removes the rows and marks the change; one empty row remains at least.
    void deleteRows(const std::vector<int>& rows);

private:
    EditorOutcome report(const Failure& failure);

    const MasterDefinition& master_;
    Services s_;
    TextGrid grid_;
    bool changed_ = false;
};

} // namespace vortan::sheet
