#include "core/program_end.h"

#include <QCoreApplication>

namespace vortan {

void EndProgramIfAsked(std::int16_t answer, const std::function<void()>& endProgram)
{
    if (answer != action::EndProgram)
        return;
    if (endProgram)
        endProgram();
    else
        QCoreApplication::exit(0);
}

void ReportFailure(const Failure& failure, const ErrorContext& context, const std::function<void()>& endProgram)
{
    EndProgramIfAsked(ReportError(failure, context), endProgram);
}

} // namespace vortan
