// Choosing runs: the selection check with its messages, and moving lines
// between the card list and the transfer list.

#include "intake/card_selection.h"
#include "support/recording_user_interface.h"

#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::RecordingUserInterface;

namespace {

const QChar Tilde(0xFF5E);

QString line(const QString& marker, int site, int point, const QString& start, const QString& end)
{
    return marker + QString::number(site).rightJustified(5) + ' '
        + QString::number(point).rightJustified(5) + ' ' + "05/10/01 " + start + Tilde
        + "05/10/01 " + end;
}

// The card list of the fixture card: site 3 point 1, point 2 and its second
// run, site 8 point 1.
const QString S3P1 = line("", 3, 1, "09:30:05", "09:32:40");
const QString S3P2 = line("", 3, 2, "09:40:00", "09:41:00");
const QString S3P2b = line("*", 3, 2, "09:50:00", "09:52:30");
const QString S8P1 = line("", 8, 1, "23:58:00", "23:59:30");
const QStringList Card{S3P1, S3P2, S3P2b, S8P1};

} // namespace

TEST(CardSelection, RunsOfOneSiteMoveIntoTheTransferList)
{
    QStringList card = Card;
    QStringList transfer;
    DuplicatePointList duplicates;
    RecordingUserInterface ui;

    EXPECT_TRUE(TransferSelectedRuns(ui, card, {1, 0}, S3P2, transfer, QString(), duplicates));
    EXPECT_EQ(transfer, (QStringList{S3P1, S3P2}));   // in card list order
    EXPECT_EQ(card, (QStringList{S3P2b, S8P1}));
    EXPECT_TRUE(ui.messages().empty());

    // Back again, without a check.
    MoveLines(transfer, {0}, S3P1, S3P2b, card);
    EXPECT_EQ(card, (QStringList{S3P2b, S8P1, S3P1}));
    EXPECT_EQ(transfer, QStringList{S3P2});
}

TEST(CardSelection, DifferentSitesAreRefusedWithCodeFive)
{
    DuplicatePointList duplicates;
    EXPECT_EQ(CheckSelection(Card, {0, 3}, {}, duplicates), DifferentSite);
    // A run of another site than the runs already chosen.
    EXPECT_EQ(CheckSelection(Card, {3}, {S3P1}, duplicates), DifferentSite);
    // Nothing on the card at all.
    EXPECT_EQ(CheckSelection({}, {}, {}, duplicates), DifferentSite);
    // A "*" run of a point other than the first selected line's.
    EXPECT_EQ(CheckSelection(Card, {0, 2}, {}, duplicates), DifferentSite);
    // A "*" run after unmarked runs chosen before: its first five characters differ.
    EXPECT_EQ(CheckSelection(Card, {2}, {S3P2}, duplicates), DifferentSite);
    EXPECT_TRUE(duplicates.isEmpty());

    QStringList card = Card;
    QStringList transfer;
    RecordingUserInterface ui;
    EXPECT_FALSE(TransferSelectedRuns(ui, card, {0, 3}, S8P1, transfer, QString(), duplicates));
    EXPECT_EQ(card, Card);
    EXPECT_TRUE(transfer.isEmpty());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "同一現場Noを選択して下さい。");
    EXPECT_EQ(ui.messages()[0].title, "現場Noエラー");
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui.messages()[0].buttons, MessageButtons::Ok);
}

TEST(CardSelection, APointAlreadyChosenIsRefusedWithCodeSixNamingIt)
{
    RecordingUserInterface ui;
    DuplicatePointList duplicates;

    // The same line as one already in the transfer list (a point listed
    // twice because other runs stood between its records).
    QStringList card{S3P2, S8P1};
    QStringList transfer{S3P2};
    EXPECT_FALSE(TransferSelectedRuns(ui, card, {0}, S3P2, transfer, S3P2, duplicates));
    EXPECT_EQ(ui.lastMessage().text, "同一測点Noがあります。\n測点No:2");
    EXPECT_EQ(ui.lastMessage().title, "測点Noエラー");
    EXPECT_TRUE(duplicates.isEmpty());   // emptied once shown
    EXPECT_EQ(transfer, QStringList{S3P2});

    // A point and its "*" run selected together.
    ui.clear();
    card = Card;
    transfer.clear();
    EXPECT_FALSE(TransferSelectedRuns(ui, card, {1, 2}, S3P2b, transfer, QString(), duplicates));
    EXPECT_EQ(ui.lastMessage().text, "同一測点Noがあります。\n測点No:2");
    EXPECT_EQ(card, Card);

    // Several duplicates are all named, each once.
    const QString s3p7 = line("", 3, 7, "10:00:00", "10:01:00");
    EXPECT_EQ(CheckSelection({S3P2, s3p7, S3P2, s3p7}, {0, 1, 2, 3}, {S3P2}, duplicates),
              DuplicatePoint);
    EXPECT_EQ(duplicates.points(), (std::vector<std::int16_t>{2, 7}));
    DuplicatePointList none;
    EXPECT_EQ(intakeMessageText(DuplicatePoint, none), "同一測点Noがあります。");
    EXPECT_EQ(intakeMessageText(DuplicatePoint, duplicates), "同一測点Noがあります。\n測点No:2, 7");
    EXPECT_EQ(intakeMessageText(TimeoutTooShort, none), "タイムアウト値は６秒以上を設定して下さい。");
    EXPECT_EQ(intakeMessageTitle(TimeoutTooShort), "設定エラー");
}

TEST(CardSelection, MovingGoesByEqualTextAndNeedsASelection)
{
    // Equal lines: only the first equal one leaves the source.
    QStringList source{S3P1, S3P2, S3P1};
    QStringList target;
    MoveLines(source, {2}, S3P1, QString(), target);
    EXPECT_EQ(target, QStringList{S3P1});
    EXPECT_EQ(source, (QStringList{S3P2, S3P1}));

    // Nothing selected in either list: the current texts are equal, nothing moves.
    source = Card;
    target = {S3P1};
    MoveLines(source, {}, QString(), QString(), target);
    EXPECT_EQ(source, Card);

    // An empty source.
    QStringList empty;
    MoveLines(empty, {0}, S3P1, QString(), target);
    EXPECT_EQ(target, QStringList{S3P1});
}

// A "*" line carries its marker before the site, so the checks must compare
// all twelve characters of marker, site and point, and all six of marker and
// site: lines that differ only in the last digit are different runs.
TEST(CardSelection, MarkedRunsDifferingInTheLastDigitAreNotTakenForOneAnother)
{
    const QString site3point12 = line("*", 3, 12, "10:00:00", "10:01:00");
    const QString site3point13 = line("*", 3, 13, "10:10:00", "10:11:00");
    const QString site12point1 = line("*", 12, 1, "11:00:00", "11:01:00");
    const QString site13point1 = line("*", 13, 1, "11:10:00", "11:11:00");
    const struct {
        QStringList card;
        QList<qsizetype> rows;
        QStringList transfer;
        int code;
    } cases[] = {
        {{site3point12, site3point13}, {0, 1}, {}, 0},
        {{site3point13}, {0}, {site3point12}, 0},
        {{site12point1, site13point1}, {0, 1}, {}, DifferentSite},
        {{site3point12, site3point12}, {0, 1}, {}, DuplicatePoint},
    };
    for (const auto& c : cases) {
        DuplicatePointList duplicates;
        EXPECT_EQ(CheckSelection(c.card, c.rows, c.transfer, duplicates), c.code) << c.card.join('|').toStdString();
    }
}

TEST(CardSelection, PointsBeyondFourDigitsCannotBeStored)
{
    const QStringList card{line("", 3, 9999, "10:00:00", "10:01:00"), line("", 3, 10000, "10:10:00", "10:11:00")};
    EXPECT_EQ(UnstorablePoints(card, {0, 1}), QStringList{"10000"});
}
