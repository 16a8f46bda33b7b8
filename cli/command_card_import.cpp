// card-import CARDFILE --survey NO --runs I[,J...]: stores runs of a card
// file as survey NO, as the card import screen does: the runs at the given
// 1-based positions of the card list are selected together, checked against
// an empty transfer list, moved and saved with the usual customer. A refused
// selection, or a copy of a stored run not confirmed, prints its message and
// exits 1.

#include "cli/cli_command.h"
#include "intake/card_file.h"
#include "intake/card_save.h"
#include "intake/card_selection.h"

namespace vortan::cli {
namespace {

const QString Name = QStringLiteral("card-import");

int cardImport(CliContext& context, const QStringList& args)
{
    QString file;
    QString survey;
    QString runs;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--survey") && i + 1 < args.size())
            survey = args[++i];
        else if (args[i] == QStringLiteral("--runs") && i + 1 < args.size())
            runs = args[++i];
        else if (!args[i].startsWith(QStringLiteral("--")) && file.isEmpty())
            file = args[i];
        else
            return context.usageError(Name, QStringLiteral("%1 は使えない引数です").arg(args[i]));
    }
    if (file.isEmpty() || survey.isEmpty() || runs.isEmpty())
        return context.usageError(Name, QStringLiteral("CARDFILE、--survey NO、--runs I[,J...] を指定してください"));
    QList<qsizetype> positions;
    for (const QString& part : runs.split(QLatin1Char(','))) {
        bool ok = false;
        const int position = part.trimmed().toInt(&ok);
        if (!ok || position < 1)
            return context.usageError(Name, QStringLiteral("測定の番号は1から数えます: %1").arg(part));
        positions.append(position - 1);
    }

    if (!context.openDatabases())
        return ExitFailure;
    try {
        const intake::CardListing listing = intake::ReadAndListCardFile(file);
        for (qsizetype row : positions)
            if (row >= listing.lines.size())
                return context.usageError(
                    Name, QStringLiteral("カードの測定は%1件です。%2番目の測定はありません")
                              .arg(listing.lines.size())
                              .arg(row + 1));

        QStringList card = listing.lines;
        QStringList transfer;
        intake::DuplicatePointList duplicates;
        // The run clicked last holds the card list's focus.
        const QString current = card.at(positions.last());
        if (!intake::TransferSelectedRuns(context.ui(), card, positions, current, transfer, QString(),
                                          duplicates))
            return ExitFailure;
        // A run stored before asks first; answered No (without --yes),
        // nothing is stored.
        if (intake::SaveCardRuns(context.workspace(), context.ui(), listing.file.rows, transfer, survey,
                                 context.state().settings.通常の提出先)
            == 0)
            return ExitFailure;
    } catch (const Failure& failure) {
        return context.report(failure);
    }
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(Name, QStringLiteral("CARDFILE --survey NO --runs I[,J...]"), cardImport);

} // namespace vortan::cli
