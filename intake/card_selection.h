#pragma once
// Choosing the runs of a card to store: the check made before selected lines
// of the card list move into the transfer list, and moving lines between the
// two lists. A list line is its own identity: moving and removing go by
// equal text.

#include "intake/intake_messages.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vortan {
class UserInterface;
}

namespace vortan::intake {

// Checks the lines selected in the card list (`selectedRows`, 0-based rows
// of `cardLines`) against the transfer list. Returns 0 when they may move,
// otherwise the message code: 6 when a point would be there twice (the
// points go to `duplicates`), 5 when the lines are of different sites or the
// card list is empty.
int CheckSelection(const QStringList& cardLines, const QList<qsizetype>& selectedRows,
                   const QStringList& transferLines, DuplicatePointList& duplicates);

// The point numbers of the selected lines that the survey tables cannot
// hold as the card gives them: the records store their point as a bare
// number in a column of four characters, so only a whole number of one to
// four digits without a leading zero ("12", not "012", "1.50" or "12345")
// finds its point again. Each once, in list order.
QStringList UnstorablePoints(const QStringList& cardLines, const QList<qsizetype>& selectedRows);

// Moves the selected lines of `source` to the end of `target`, in source
// order, then removes from `source` the first line equal to each line of
// `target`. Nothing happens when the source is empty or when the source's
// current line (the one with the focus) equals the target's, as when nothing
// is selected in either.
void MoveLines(QStringList& source, const QList<qsizetype>& selectedRows,
               const QString& sourceCurrent, const QString& targetCurrent, QStringList& target);

// The card list's move button: checks the point numbers (message 7), then
// the selection (5 or 6), then moves. On a failed check the message is
// shown and false returned; the caller clears the card list's selection and
// nothing moves.
bool TransferSelectedRuns(UserInterface& ui, QStringList& cardLines,
                          const QList<qsizetype>& selectedRows, const QString& cardCurrent,
                          QStringList& transferLines, const QString& transferCurrent,
                          DuplicatePointList& duplicates);

} // namespace vortan::intake
