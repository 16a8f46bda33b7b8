// Replays every malformed file of tests/fixtures/bad through the reader the
// program uses for its kind and checks the outcome its manifest, cases.tsv,
// gives: the message shown (exact text), or what the reader falls back to.
// Whatever the outcome, the file itself is not changed, and a read that
// fails leaves the survey tables as they were.
//
// Manifest lines: file <TAB> reader <TAB> outcome <TAB> expected; lines
// starting with "#" are comments. In an expected text "{folder}" stands for
// the folder the file was placed in and "\n" for a line break. Readers and
// their outcomes:
//   card       the card import's read and listing; "message" (the text the
//              error reporter shows) or "lines" (how many list lines)
//   card-select
//              every run of the card's list moved to the transfer list at
//              once; "message" (the text the selection check shows)
//   exchange   reading an exchange file in add mode; "message" (the text the
//              conversion command shows), "stored" (surveys,points,records
//              added) or "warns" (the last message of a read that stored
//              what it could)
//   export>NAME
//              the file placed as NAME (the settings file Vortan.ini, or a
//              side file of the settings folder) and an export aimed at it
//              through a link and a ".." in the path; "message"
//   export-values
//              each line of the file (UTF-8) the site name of a survey, the
//              surveys exported; "message" (the last message shown)
//   grpType.ini, cfdrive.ini, rqtbl.csv
//              the file under that name in the settings folder, read by the
//              settings load; "state": graph kind,Nd shown,qa shown,data name
//              / the card drive / the number of bearing factor rows
//   qaTbl.tbl  the qa parameter lookup of series 1; "state": soil=series
//              code of the record found (0: none), ";"-separated
//   settings   the settings file, loaded; "message" or "state": key=value
//              pairs (";"-separated) of the settings read

#include "calc/qa_param_file.h"
#include "core/error_reporter.h"
#include "core/settings_loader.h"
#include "core/program_files.h"
#include "core/settings_store.h"
#include "db/survey_store.h"
#include "intake/card_file.h"
#include "intake/exchange_failure.h"
#include "intake/card_selection.h"
#include "intake/exchange_read.h"
#include "intake/exchange_test_data.h"
#include "intake/exchange_write.h"
#include "intake/intake_test_support.h"
#include "support/qstring_printer.h"
#include "support/recording_user_interface.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

const QString BadFolder = QStringLiteral(VORTAN_FIXTURES_DIR "/bad");
const QString Manifest = QStringLiteral("cases.tsv");

struct Case {
    QString file;
    QString reader;
    QString outcome;
    QString expected;
    int line = 0;
};

std::vector<Case> manifestCases()
{
    std::vector<Case> cases;
    const QStringList lines = QString::fromUtf8(test::readBytes(BadFolder + "/" + Manifest)).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        line.remove('\r');
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList parts = line.split('\t');
        EXPECT_EQ(parts.size(), 4) << "cases.tsv line " << i + 1;
        if (parts.size() == 4)
            cases.push_back({parts[0], parts[1], parts[2], parts[3], i + 1});
    }
    return cases;
}

QString boolDigit(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// What the program makes of one file; also checks that nothing changed.
class Replay {
public:
    explicit Replay(const Case& c) : c_(c) {}

    void run()
    {
        const QString source = BadFolder + "/" + c_.file;
        const QFileInfo info(source);
        // A device or a folder is never read here: its link or its name is what stays.
        const auto content = [](const QString& path) {
            const QFileInfo file(path);
            return file.isSymLink() ? file.symLinkTarget().toUtf8()
                 : file.isDir()     ? QByteArrayLiteral("folder")
                                    : test::readBytes(path);
        };
        const QByteArray bytes = content(source);
        const QString target = place(source);
        expected_ = c_.expected;
        expected_.replace(QStringLiteral("{folder}"), QDir::toNativeSeparators(settingsFolder_.path()));
        expected_.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        if (c_.reader == "card")
            card(target);
        else if (c_.reader == "card-select")
            cardSelection(target);
        else if (c_.reader.startsWith("export>"))
            exportOnto(target);
        else if (c_.reader == "export-values")
            exportValues(target);
        else if (c_.reader == "exchange")
            exchange(target);
        else if (c_.reader == "settings")
            settings(target);
        else if (c_.reader == "qaTbl.tbl")
            qaParameters(target);
        else if (c_.reader == "grpType.ini" || c_.reader == "cfdrive.ini" || c_.reader == "rqtbl.csv")
            sideFile();
        else
            ADD_FAILURE() << "unknown reader " << c_.reader.toStdString();
        EXPECT_EQ(content(target), bytes) << "the reader changed its file";
    }

private:
    // The file copied where its reader looks for it.
    QString place(const QString& source)
    {
        QString name = c_.file;
        if (c_.reader == "grpType.ini" || c_.reader == "cfdrive.ini" || c_.reader == "rqtbl.csv"
            || c_.reader == "qaTbl.tbl")
            name = c_.reader;
        else if (c_.reader == "settings" || c_.reader == "export>Vortan.ini")
            name = QStringLiteral("Vortan.ini");
        else if (c_.reader.startsWith("export>"))
            name = c_.reader.section('>', 1);
        const QString target = settingsFolder_.filePath(name);
        const QFileInfo info(source);
        if (info.isSymLink())
            QFile::link(info.symLinkTarget(), target);
        else if (info.isDir())
            QDir().mkpath(target);
        else
            QFile::copy(source, target);
        return target;
    }

    void expectMessage(const QStringList& shown)
    {
        EXPECT_EQ(c_.outcome, "message") << "the reader failed where the manifest expects " << c_.outcome.toStdString();
        EXPECT_EQ(shown, QStringList{expected_});
    }

    void card(const QString& path)
    {
        try {
            const intake::CardListing listing = intake::ReadAndListCardFile(path);
            EXPECT_EQ(c_.outcome, "lines");
            EXPECT_EQ(QString::number(listing.lines.size()), c_.expected);
        } catch (const Failure& failure) {
            test::RecordingUserInterface ui;
            ProgramState state;
            ReportError(failure, ErrorContext{ui, state, true});
            expectMessage(ui.messageTexts());
        }
    }

    void exchange(const QString& path)
    {
        test::SurveyDatabaseCopy copy;
        ASSERT_TRUE(copy.isValid());
        db::SurveyStore store(copy.workspace);
        const QStringList before = test::surveyTables(copy.db());
        auto count = [&](const char* table) { return test::tableRows(copy.db(), QString::fromUtf8(table)).size(); };
        const auto surveys = count("調査地区"), points = count("測点"), records = count("測点データ");
        test::RecordingUserInterface ui;
        try {
            intake::ReadExchangeFile(copy.workspace, store, ui, path, intake::ExchangeReadMode::Add);
            EXPECT_EQ(ui.statusText(), "データを読み込みました。");
            if (c_.outcome == "warns") {
                EXPECT_EQ(ui.lastMessage().text, expected_);
                EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Exclamation);
                return;
            }
            EXPECT_EQ(c_.outcome, "stored");
            EXPECT_EQ(QStringLiteral("%1,%2,%3")
                          .arg(count("調査地区") - surveys)
                          .arg(count("測点") - points)
                          .arg(count("測点データ") - records),
                      c_.expected);
            EXPECT_EQ(ui.statusText(), "データを読み込みました。");
        } catch (const Failure& failure) {
            ProgramState state;
            intake::ReportExchangeFailure(failure, ErrorContext{ui, state, true});
            expectMessage(ui.messageTexts());
            EXPECT_EQ(test::surveyTables(copy.db()), before);
            EXPECT_FALSE(copy.db().inTransaction());
        }
        EXPECT_FALSE(ui.isBusy());
    }

    void cardSelection(const QString& path)
    {
        const intake::CardListing listing = intake::ReadAndListCardFile(path);
        QStringList card = listing.lines;
        QStringList transfer;
        QList<qsizetype> all;
        for (qsizetype i = 0; i < card.size(); ++i)
            all.append(i);
        intake::DuplicatePointList duplicates;
        test::RecordingUserInterface ui;
        EXPECT_FALSE(intake::TransferSelectedRuns(ui, card, all, card.value(0), transfer, QString(), duplicates));
        EXPECT_TRUE(transfer.isEmpty());
        expectMessage(ui.messageTexts());
    }

    // The program's files as a run that read its settings from this folder has them.
    ProgramState programState(const QString& surveyDatabase) const
    {
        ProgramState state;
        state.settings.データ位置 = surveyDatabase;
        state.settings.ini位置 = settingsFolder_.path();
        state.settingsFile = settingsFolder_.filePath(QStringLiteral("Vortan.ini"));
        return state;
    }

    void exportOnto(const QString& placed)
    {
        test::SurveyDatabaseCopy copy;
        ASSERT_TRUE(copy.isValid());
        db::SurveyStore store(copy.workspace);
        test::storeExchangeSurvey(store, 5);
        const QStringList before = test::surveyTables(copy.db());
        // The file named through a link, by a path that climbs out of a folder.
        QDir().mkpath(settingsFolder_.filePath(QStringLiteral("sub")));
        ASSERT_TRUE(QFile::link(placed, settingsFolder_.filePath(QStringLiteral("link.csv"))));
        const QString target = settingsFolder_.filePath(QStringLiteral("sub/../link.csv"));
        test::RecordingUserInterface ui;
        ProgramState state = programState(copy.files.surveyDatabase());
        try {
            intake::WriteExchangeFile(copy.db(), ui, target, QString(), ProgramFiles(state));
            ADD_FAILURE() << "the export was not refused";
        } catch (const Failure& failure) {
            intake::ReportExchangeFailure(failure, ErrorContext{ui, state, true});
            expectMessage(ui.messageTexts());
        }
        EXPECT_EQ(test::surveyTables(copy.db()), before);
    }

    void exportValues(const QString& path)
    {
        test::SurveyDatabaseCopy copy;
        ASSERT_TRUE(copy.isValid());
        db::SurveyStore store(copy.workspace);
        const QStringList names = QString::fromUtf8(test::readBytes(path)).split('\n', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < names.size(); ++i) {
            db::SurveyRow survey = test::exchangeSurvey(std::int32_t(i + 1));
            survey.現場名 = names[i];
            store.insertSurvey(survey);
            store.insertPoint(test::exchangePoint(std::int32_t(i + 1), "1", "1"));
            store.insertRecord(test::exchangeRecord(std::int32_t(i + 1), "1", 0.25f, 3, 10.5f, "1"));
        }
        test::RecordingUserInterface ui;
        intake::WriteExchangeFile(copy.db(), ui, settingsFolder_.filePath(QStringLiteral("out.csv")), QString(), {});
        EXPECT_EQ(c_.outcome, "message");
        EXPECT_EQ(ui.lastMessage().text, expected_);
    }

    // The settings load with an empty store reads the side files of the folder.
    void sideFile()
    {
        ProgramState state;
        state.graphDataName = QStringLiteral("Nd");
        state.bearingFactorTable = {{"0", "0", "0", "0"}};
        LoadSettings(SettingsStore(), state, settingsFolder_.path());
        EXPECT_EQ(c_.outcome, "state");
        if (c_.reader == "grpType.ini") {
            EXPECT_EQ(QStringList({QString::number(state.graphKind), boolDigit(state.settings.Nd値表示),
                                   boolDigit(state.settings.Qa値表示), state.graphDataName})
                          .join(','),
                      c_.expected);
        } else if (c_.reader == "cfdrive.ini") {
            EXPECT_EQ(state.cardDrive, c_.expected);
        } else {
            EXPECT_EQ(QString::number(state.bearingFactorTable.size()), c_.expected);
        }
    }

    void qaParameters(const QString& path)
    {
        EXPECT_EQ(c_.outcome, "state");
        calc::QaParamFile file;
        calc::QaSet set;
        set.code = QStringLiteral("1");
        for (const QString& pair : c_.expected.split(';')) {
            const QString soil = pair.section('=', 0, 0);
            EXPECT_EQ(QString::number(file.findQaParams(path, set, soil).seriesCode), pair.section('=', 1))
                << soil.toStdString();
        }
    }

    void settings(const QString& path)
    {
        SettingsStore store(path);
        ProgramState state;
        try {
            store.load();
            LoadSettings(store, state, settingsFolder_.path());
        } catch (const Failure& failure) {
            test::RecordingUserInterface ui;
            ReportError(failure, ErrorContext{ui, state, false});
            expectMessage(ui.messageTexts());
            return;
        }
        EXPECT_EQ(c_.outcome, "state");
        SettingsStore written;
        storeSettings(written, state.settings);
        for (const QString& pair : c_.expected.split(';')) {
            const QString key = pair.section('=', 0, 0);
            EXPECT_EQ(written.value(key.section('/', 0, 0), key.section('/', 1)), pair.section('=', 1))
                << key.toStdString();
        }
    }

    const Case& c_;
    QString expected_;
    QTemporaryDir settingsFolder_;
};

} // namespace

TEST(BadInput, EveryFileOfTheFolderIsInTheManifest)
{
    const std::vector<Case> cases = manifestCases();
    QStringList listed;
    for (const Case& c : cases)
        listed.append(c.file);
    QStringList files =
        QDir(BadFolder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    files.removeAll(Manifest);
    for (const QString& file : files)
        EXPECT_TRUE(listed.contains(file)) << file.toStdString() << " is not in cases.tsv";
    for (const QString& file : listed)
        EXPECT_TRUE(files.contains(file)) << file.toStdString() << " is in cases.tsv but not in the folder";
    EXPECT_EQ(listed.removeDuplicates(), 0);
    EXPECT_GE(cases.size(), 30u);
}

TEST(BadInput, EveryFileGivesTheOutcomeOfItsManifestLine)
{
    for (const Case& c : manifestCases()) {
        SCOPED_TRACE(QStringLiteral("cases.tsv line %1: %2").arg(c.line).arg(c.file).toStdString());
        Replay(c).run();
    }
}
