// Replays saved inputs through one fuzz entry without libFuzzer, so that the
// ordinary test run proves every corpus file and every input that once
// crashed still goes through cleanly. Arguments: files or folders (every file
// of a folder, in name order; hidden files are skipped; a missing folder
// holds no inputs).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int replayed = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const QFileInfo info(argument);
        QStringList paths;
        if (info.isDir()) {
            for (const QString& name : QDir(argument).entryList(QDir::Files, QDir::Name))
                paths << QDir(argument).filePath(name);
        } else if (info.exists()) {
            paths << argument;
        }
        for (const QString& path : paths) {
            ok = replay(path) && ok;
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return ok ? 0 : 1;
}
