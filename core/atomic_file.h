#pragma once
// Writing a whole file so that a failure leaves the old file as it was: the
// bytes go to a temporary file in the same folder, which is renamed over the
// old one only when every byte was written.

#include <QByteArrayView>
#include <QString>

class QSaveFile;

namespace vortan {

// Creates the folder when needed and writes `bytes` as the whole content of
// `path`. Throws Failure when the file cannot be written (70 when the folder
// or file refuses writing, 61 when the disk is full, 76 when the folder is
// not there, 75 otherwise); the old file is then untouched.
void writeFileAtomically(const QString& path, QByteArrayView bytes);

// The same through a save file the caller made (tests hand in one whose
// device fails).
void writeFileAtomically(QSaveFile& file, QByteArrayView bytes);

} // namespace vortan
