// Fuzz entry: a memory-card file as the card import screen takes it. The
// bytes are parsed, their runs listed as the card list shows them, every
// line is offered to the transfer list one by one as a user would pick them,
// and the save statements of the chosen runs are built and translated.

#include "core/failure.h"
#include "db/jet_sql_translator.h"
#include "fuzz_support.h"
#include "intake/card_file.h"
#include "intake/card_save.h"
#include "intake/card_selection.h"

#include <cstdio>
#include <cstdlib>

using namespace vortan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    intake::CardFile file;
    QStringList cardLines;
    try {
        file = intake::ParseCardFile(fuzz::inputBytes(data, size));
        cardLines = intake::ListRuns(file.rows);
    } catch (const Failure&) {
        return 0;   // a short record, an overflow, a 21st site: the file is refused
    }

    fuzz::SilentUserInterface ui;
    QStringList transferLines;
    intake::DuplicatePointList duplicates;
    while (!cardLines.isEmpty()) {
        const qsizetype before = cardLines.size();
        const QString current = cardLines.front();
        // A refused line stays in the card list; the user goes on with the next one.
        if (!intake::TransferSelectedRuns(ui, cardLines, {0}, current, transferLines, QString(), duplicates)
            || cardLines.size() == before)
            cardLines.removeFirst();
    }

    try {
        db::JetSqlTranslator translator;
        db::TranslatedStatement translated;
        intake::ForEachCardSaveStatement(file.rows, transferLines, QStringLiteral("1"), QStringLiteral("一般"),
                                         [&](const QString& sql) {
                                             try {
                                                 translator.translate(sql, translated);
                                             } catch (const Failure& failure) {
                                                 // The program built this text from card values:
                                                 // a value must never break its statement.
                                                 std::fprintf(stderr, "untranslatable save statement (%d): %s\n",
                                                              failure.number(), qPrintable(sql));
                                                 std::abort();
                                             }
                                         });
    } catch (const Failure&) {
        // a value the save refuses (not a number where one is written bare)
    }
    return 0;
}
