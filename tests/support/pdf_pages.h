#pragma once
// Counting the pages of a PDF file the program wrote.

#include <QString>

namespace vortan::test {

// The number of page objects in the PDF file; -1 when it cannot be read.
int pdfPageCount(const QString& path);

} // namespace vortan::test
