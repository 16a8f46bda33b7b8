// The user manual the help menu opens: built into the program folder as an
// A4 PDF with a page for the title and contents, every chapter on pages of
// its own and every picture of the Markdown source in it; and the help
// command's platform side says when the settings folder holds no manual.

#include "core/failure.h"
#include "core/platform.h"
#include "support/test_databases.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qsizetype matches(const QByteArray& bytes, const QString& pattern)
{
    const QString text = QString::fromLatin1(bytes);
    qsizetype count = 0;
    for (auto it = QRegularExpression(pattern).globalMatch(text); it.hasNext(); it.next())
        ++count;
    return count;
}

} // namespace

TEST(UserManual, IsBuiltIntoTheProgramFolderWithEveryChapterAndPicture)
{
    const QByteArray pdf = fileBytes(test::programFile(QString::fromLatin1(platform::ManualFileName)));
    ASSERT_TRUE(pdf.startsWith("%PDF-")) << "the build writes VORTAN_Manual.pdf into the program folder";
    const QString source = QString::fromUtf8(
        fileBytes(QStringLiteral(VORTAN_SOURCE_DIR "/docs/manual/VORTAN_Manual.md")));
    ASSERT_FALSE(source.isEmpty());

    const qsizetype chapters = matches(source.toUtf8(), QStringLiteral("(?m)^## \\d+\\. "));
    const qsizetype pictures = matches(source.toUtf8(), QStringLiteral("!\\["));
    EXPECT_EQ(chapters, 12);
    const qsizetype pages = matches(pdf, QStringLiteral("/Type\\s*/Page(?!s)"));
    // The title page, then each chapter from a page of its own, most of them
    // longer than one page with their pictures.
    EXPECT_GT(pages, chapters + 1);
    EXPECT_LT(pages, 60);
    EXPECT_EQ(matches(pdf, QStringLiteral("/MediaBox \\[0 0 595\\S* 842\\S*\\]")), pages);   // A4
    EXPECT_EQ(matches(pdf, QStringLiteral("/Subtype\\s*/Image")), pictures);
}

TEST(UserManual, AFolderWithoutTheManualIsReportedAsAMissingFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    try {
        platform::openManual(QDir::toNativeSeparators(folder.path()));
        FAIL() << "no manual, yet it was opened";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::FileNotFound);
    }
}
