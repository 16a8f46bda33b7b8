#pragma once
// Where the conversion screen offers the exchange file: the file used last
// when its folder is still there, else a file named after today in the
// user's documents folder ("Vortan_20240412.csv"), so that nobody starts at
// a floppy drive that no longer exists.

#include <QDate>
#include <QString>

namespace vortan::intake {

// The dated name of an exchange file written on `day`.
QString datedExchangeFileName(const QDate& day);

// The path the screen's file box starts with.
QString exchangeFileStart(const QString& remembered, const QString& documentsFolder, const QDate& today);

// The path the file dialog starts at: to write, a dated name in the folder
// of `current` (documents when that folder is gone); to read, `current`
// when that file exists, else that folder.
QString exchangeDialogStart(const QString& current, bool forWriting, const QString& documentsFolder,
                            const QDate& today);

} // namespace vortan::intake
