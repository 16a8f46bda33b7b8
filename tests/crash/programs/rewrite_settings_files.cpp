// Rewrites the files of a settings folder the way the options dialog and the
// formula editors do: the settings file Vortan.ini (values changed), then
// grpType.ini, cfdrive.ini and qaTbl.tbl (the records of series 1 replaced),
// so that the crash tests can kill it part way.
//   crash_rewrite_files FOLDER
// Exits 0 when every file was written; otherwise 1 with the failure.

#include "calc/qa_param_file_writer.h"
#include "core/card_drive_file.h"
#include "core/failure.h"
#include "core/graph_type_file.h"
#include "core/program_state.h"
#include "core/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

using namespace vortan;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: crash_rewrite_files FOLDER\n");
        return 2;
    }
    const QString folder = args[1];
    try {
        SettingsStore store(QDir(folder).filePath(QStringLiteral("Vortan.ini")));
        store.load();
        store.setValue(QStringLiteral("etc"), QStringLiteral("ini位置"), QStringLiteral("/srv/vortan/ini"));
        store.setValue(QStringLiteral("rep"), QStringLiteral("上余白"), QStringLiteral("25"));
        store.save();

        ProgramState state;
        state.graphKind = 1;
        state.graphDataName = QStringLiteral("Qa");
        state.settings.Nd値表示 = false;
        state.settings.Qa値表示 = true;
        writeGraphTypeFile(folder, state);

        writeCardDriveFile(folder, QStringLiteral("/media/card2"));

        std::vector<calc::QaParamRecord> records(3);
        for (std::size_t i = 0; i < records.size(); ++i) {
            records[i].seriesCode = 1;
            records[i].soilName = QStringLiteral("粘性土%1").arg(i + 1);
            for (std::size_t n = 0; n < records[i].p.size(); ++n)
                records[i].p[n] = static_cast<float>(n) * 0.5f + static_cast<float>(i);
        }
        calc::ReplaceQaSeries(folder, 1, records);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%d %s\n", failure.number(), failure.description().toUtf8().constData());
        return 1;
    }
    return 0;
}
