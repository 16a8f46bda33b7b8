#include "support/golden_file.h"

#include <QFile>

namespace vortan::test {

::testing::AssertionResult matchesGolden(const QString& name, const QString& actual)
{
    QFile file(QStringLiteral(VORTAN_FIXTURES_DIR "/golden/") + name);
    if (qEnvironmentVariableIsSet("VORTAN_UPDATE_GOLDEN")) {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return ::testing::AssertionFailure() << "cannot write " << file.fileName().toStdString();
        file.write(actual.toUtf8());
        return ::testing::AssertionSuccess();
    }
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "no golden file " << file.fileName().toStdString();
    const QString expected = QString::fromUtf8(file.readAll());
    if (expected == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name.toStdString() << " differs; shown now:\n" << actual.toStdString();
}

} // namespace vortan::test
