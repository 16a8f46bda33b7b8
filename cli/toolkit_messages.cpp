#include "cli/toolkit_messages.h"

#include <QtGlobal>

namespace vortan::cli {

namespace {

QtMessageHandler g_toolkitHandler = nullptr;

void keepOnlyFaults(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        g_toolkitHandler(type, context, message);
}

} // namespace

void silenceToolkitDiagnostics()
{
    g_toolkitHandler = qInstallMessageHandler(keepOnlyFaults);
}

} // namespace vortan::cli
