// Fuzz entry: a survey exchange file read into a fresh copy of the shipped
// survey database, first adding its surveys under new numbers, then replacing
// the surveys of its numbers; whatever was stored is written out again as an
// exchange file.

#include "core/failure.h"
#include "db/survey_store.h"
#include "db/workspace.h"
#include "fuzz_support.h"
#include "intake/exchange_read.h"
#include "intake/exchange_write.h"

#include <QDir>

using namespace vortan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::inputBytes(data, size);
    fuzz::SilentUserInterface ui;
    db::Workspace workspace;
    workspace.openSurvey(fuzz::freshSurveyDatabase());
    db::SurveyStore store(workspace);

    for (const auto mode : {intake::ExchangeReadMode::Add, intake::ExchangeReadMode::Replace}) {
        try {
            intake::ReadExchangeBytes(workspace, store, ui, bytes, mode);
        } catch (const Failure&) {
            // a line of another kind, too few fields, a value the database refuses
        }
    }
    try {
        intake::WriteExchangeFile(*workspace.survey(), ui,
                                  QDir(fuzz::scratchFolder()).filePath(QStringLiteral("written.csv")), QString(), {});
    } catch (const Failure&) {
    }
    return 0;
}
