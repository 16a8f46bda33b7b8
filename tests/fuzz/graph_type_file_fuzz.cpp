// Fuzz entry: the bytes of grpType.ini in the settings folder, read into the
// program state, written back as the options dialog saves it and read again.

#include "core/failure.h"
#include "core/graph_type_file.h"
#include "core/program_state.h"
#include "fuzz_support.h"

using namespace vortan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString folder = fuzz::scratchFolder();
    fuzz::writeScratchFile(QString::fromLatin1(GraphTypeFileName), fuzz::inputBytes(data, size));
    ProgramState state;
    readGraphTypeFile(folder, state);
    try {
        writeGraphTypeFile(folder, state);
    } catch (const Failure&) {
        return 0;
    }
    ProgramState again;
    readGraphTypeFile(folder, again);
    return 0;
}
