// The window program: sets up the application and shows the main window,
// whose load reads the settings, opens both databases and shows the data
// sheet. A failure of the load is reported and leaves the main window open
// without the steps that did not run, unless the reporter says to end the
// program. Closing the main window closes both databases and writes the
// settings back.

#include "app/screen_registration.h"
#include "core/font_substitutes.h"
#include "core/japanese_translations.h"
#include "app/main_window.h"
#include "core/program_state.h"
#include "ui/common/qt_user_interface.h"
#include "core/settings_store.h"
#include "db/workspace.h"

#include <QApplication>
#include <QStatusBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(vortan::ApplicationTitle));
    QApplication::setApplicationDisplayName(QString::fromUtf8(vortan::ProgramTitle));
    vortan::RegisterFontSubstitutes();
    vortan::InstallJapaneseTranslations(app);

    vortan::ProgramState state;
    vortan::db::Workspace workspace;
    // The settings file: VORTAN_SETTINGS when set, else the per-user file.
    vortan::SettingsStore store(vortan::SettingsStore::resolvePath());
    vortan::QtUserInterface ui;

    state.databaseNotFound = false;
    QApplication::processEvents();

    vortan::ui::MainWindow window(store, state, workspace, ui,
                                     vortan::ui::ProgramChildWindows());
    window.connectUserInterface(ui);
    if (!window.showAndLoad())
        return 0;

    window.setEnabled(false);
    QApplication::processEvents();
    ui.closeAboutWindow();
    window.setEnabled(true);
    if (state.graphDataName.isEmpty())
        state.graphDataName = QStringLiteral("Nd");

    return app.exec();
}
