#pragma once
// cfdrive.ini in the settings folder: the remembered folder of the memory card.
//
// With Windows paths it is a fixed record of 2 bytes in code page 932, the
// drive letter and colon ("E:"); a shorter drive is padded with a blank, a
// longer text cut to its record. Elsewhere a card is found under a mount
// folder, which does not fit in 2 bytes: the file then holds that folder as
// its one line.

#include "core/platform.h"

#include <QString>

namespace vortan {

inline constexpr auto CardDriveFileName = "cfdrive.ini";

// Reads the remembered card drive from the file of the settings folder into
// `cardDrive`. Returns false, leaving `cardDrive` as it was, when the file is
// absent, unreadable or empty.
bool readCardDriveFile(const QString& settingsFolder, QString& cardDrive);

// The record of a card drive as the file holds it, and the drive from a record.
QByteArray cardDriveRecord(const QString& cardDrive, platform::PathStyle style);
QString cardDriveFromRecord(QByteArrayView bytes, platform::PathStyle style);

// Replaces the file's record with the drive. Throws Failure when it cannot be
// written; the old file then stays as it was.
void writeCardDriveFile(const QString& settingsFolder, const QString& cardDrive);

} // namespace vortan
