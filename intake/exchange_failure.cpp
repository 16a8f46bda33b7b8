#include "intake/exchange_failure.h"

namespace vortan::intake {

std::int16_t ReportExchangeFailure(const Failure& failure, const ErrorContext& context)
{
    switch (failure.number()) {
    case err::TypeMismatch:
        context.ui.showMessage(ExchangeVersionMessage, MessageIcon::Critical);
        return action::Reported;
    case err::DiskNotReady:
        context.ui.showMessage(ExchangeDriveNotReadyMessage, MessageIcon::Exclamation);
        return action::Reported;
    default:
        return ReportError(failure, context);
    }
}

} // namespace vortan::intake
