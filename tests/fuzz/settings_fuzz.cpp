// Fuzz entry: the bytes of the settings file, loaded at start-up into the
// program state (with the side files of the folder it names), saved back as
// the options dialog saves them and loaded again. A file the program saved
// itself must load without a failure.

#include "core/failure.h"
#include "core/program_state.h"
#include "core/settings_loader.h"
#include "core/settings_store.h"
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

using namespace vortan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = fuzz::writeScratchFile(QStringLiteral("Vortan.ini"), fuzz::inputBytes(data, size));
    SettingsStore store(path);
    ProgramState state;
    try {
        store.load();
        LoadSettings(store, state, fuzz::scratchFolder());
    } catch (const Failure&) {
        // a text a strict conversion cannot read: the keys after it keep their defaults
    }

    try {
        SaveSettings(store, state.settings);
    } catch (const Failure&) {
        return 0;
    }
    SettingsStore saved(path);
    ProgramState reloaded;
    try {
        saved.load();
        LoadSettings(saved, reloaded, fuzz::scratchFolder());
    } catch (const Failure& failure) {
        std::fprintf(stderr, "settings saved by the program fail to load (%d): %s\n", failure.number(),
                     qPrintable(failure.description()));
        std::abort();
    }
    return 0;
}
