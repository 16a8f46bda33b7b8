// Replays every malformed file of tests/fixtures/bad through the reader the
// program uses for its kind and checks the outcome its manifest, cases.tsv,
// gives: the message shown (exact text), or what the reader falls back to.
// Whatever the outcome, the file itself is not changed, and a read that
// fails leaves the survey tables as they were.
//
// Manifest lines: file <TAB> reader <TAB> outcome <TAB> expected; lines
// starting with "#" are comments. Readers and their outcomes:
//   card       the card import's read and listing; "message" (the text the
//              error reporter shows) or "lines" (how many list lines)
//   exchange   reading an exchange file in add mode; "message" (the text the
//              conversion command shows) or "stored" (surveys,points,records
//              added)
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
#include "core/settings_store.h"
#include "db/survey_store.h"
#include "intake/card_file.h"
#include "intake/exchange_failure.h"
#include "intake/exchange_read.h"
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
        const QByteArray bytes = test::readBytes(source);
        const QString target = place(source);
        if (c_.reader == "card")
            card(target);
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
        EXPECT_EQ(test::readBytes(target), bytes) << "the reader changed its file";
    }

private:
    // The file copied where its reader looks for it.
    QString place(const QString& source)
    {
        QString name = c_.file;
        if (c_.reader == "grpType.ini" || c_.reader == "cfdrive.ini" || c_.reader == "rqtbl.csv"
            || c_.reader == "qaTbl.tbl")
            name = c_.reader;
        else if (c_.reader == "settings")
            name = QStringLiteral("Vortan.ini");
        const QString target = settingsFolder_.filePath(name);
        QFile::copy(source, target);
        return target;
    }

    void expectMessage(const QStringList& shown)
    {
        EXPECT_EQ(c_.outcome, "message") << "the reader failed where the manifest expects " << c_.outcome.toStdString();
        EXPECT_EQ(shown, QStringList{c_.expected});
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
            EXPECT_EQ(QString::number(file.GetQaParams(path, set, soil).seriesCode), pair.section('=', 1))
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
    QTemporaryDir settingsFolder_;
};

} // namespace

TEST(BadInput, EveryFileOfTheFolderIsInTheManifest)
{
    const std::vector<Case> cases = manifestCases();
    QStringList listed;
    for (const Case& c : cases)
        listed.append(c.file);
    QStringList files = QDir(BadFolder).entryList(QDir::Files | QDir::Hidden);
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
