// Where the conversion screen offers the exchange file: the file used last
// while its folder exists, else a name dated today in the documents folder.

#include "intake/exchange_file_location.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan::intake;

TEST(ExchangeFileLocation, TheLastFileWhileItsFolderExistsElseADatedNameInTheDocuments)
{
    QTemporaryDir documents, last;
    const QDate today(2024, 4, 12);
    auto native = [](const QString& path) { return QDir::toNativeSeparators(path); };
    const QString dated = native(documents.filePath("Vortan_20240412.csv"));
    const QString used = native(last.filePath("survey.csv"));
    QFile(used).open(QIODevice::WriteOnly);
    // remembered file -> the box, where writing starts, where reading starts
    const QString cases[][4] = {
        {"a:\\test.csv", dated, dated, native(documents.path())},
        {native(last.filePath("gone/survey.csv")), dated, dated, native(documents.path())},
        {used, used, native(last.filePath("Vortan_20240412.csv")), used},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exchangeFileStart(c[0], documents.path(), today), c[1]) << c[0].toStdString();
        EXPECT_EQ(exchangeDialogStart(c[1], true, documents.path(), today), c[2]) << c[0].toStdString();
        EXPECT_EQ(exchangeDialogStart(c[1], false, documents.path(), today), c[3]) << c[0].toStdString();
    }
}
