// Where the conversion screen offers the exchange file: the file used last
// while its folder exists, else a name dated today in the documents folder.

#include "intake/exchange_file_location.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan::intake;

TEST(ExchangeFileLocation, TheLastFileWhileItsFolderExistsElseADatedNameInTheDocuments)
{
    QTemporaryDir documents;
    QTemporaryDir last;
    const QDate today(2024, 4, 12);
    const QString dated = QDir::toNativeSeparators(documents.filePath("Vortan_20240412.csv"));
    const QString used = QDir::toNativeSeparators(last.filePath("survey.csv"));
    const QString gone = QDir::toNativeSeparators(last.filePath("gone/survey.csv"));
    QFile(used).open(QIODevice::WriteOnly);

    const struct {
        QString remembered;
        QString box;          // the screen's file box when it opens
        QString toWrite;      // where the dialog starts to write
        QString toRead;       // where it starts to read
    } cases[] = {
        {"a:\\test.csv", dated, dated, QDir::toNativeSeparators(documents.path())},
        {"", dated, dated, QDir::toNativeSeparators(documents.path())},
        {gone, dated, dated, QDir::toNativeSeparators(documents.path())},
        {used, used, QDir::toNativeSeparators(last.filePath("Vortan_20240412.csv")), used},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exchangeFileStart(c.remembered, documents.path(), today), c.box) << c.remembered.toStdString();
        EXPECT_EQ(exchangeDialogStart(c.box, true, documents.path(), today), c.toWrite) << c.remembered.toStdString();
        EXPECT_EQ(exchangeDialogStart(c.box, false, documents.path(), today), c.toRead) << c.remembered.toStdString();
    }
}
