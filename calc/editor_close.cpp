#include "calc/editor_close.h"

#include "core/program_end.h"
#include "core/user_interface.h"

#include <QString>

namespace vortan::calc {

void endProgramOn(EditorOutcome outcome, const std::function<void()>& endProgram)
{
    EndProgramIfAsked(outcome == EditorOutcome::EndProgram ? action::EndProgram : action::Nothing, endProgram);
}

bool mayCloseEditor(UserInterface& ui, bool unsavedChanges, const std::function<EditorOutcome()>& save,
                    const std::function<void()>& endProgram)
{
    if (!unsavedChanges)
        return true;
    const MessageAnswer answer =
        ui.showMessage(QStringLiteral("データは保存されていません。保存しますか？"), MessageIcon::Question,
                       MessageButtons::YesNoCancel, MessageAnswer::Cancel);
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::No)
        return true;
    const EditorOutcome outcome = save();
    endProgramOn(outcome, endProgram);
    return outcome == EditorOutcome::Done;
}

} // namespace vortan::calc
