#pragma once
// Reading every setting from the settings store into the program state, with
// the side files of the settings folder, and writing the settings back.

#include "core/platform.h"
#include "core/program_state.h"
#include "core/settings_store.h"

#include <QString>
#include <QStringView>

namespace vortan {

// The default place of a database file: the file in the program folder,
// joined without doubling a trailing separator ("C:\" gives "C:\VORTAN.MDB",
// "C:\Prog" gives "C:\Prog\VORTAN.MDB").
QString defaultFileInProgramFolder(QStringView programFolder, QStringView fileName,
                                   platform::PathStyle style = platform::nativePathStyle());

// Reads every key of the sections Com, Data, 土質, etc and rep in their fixed
// order into state.settings; a key absent from the store takes its default
// (データ位置, 住所位置 and ini位置 from `programFolder`). Then reads, from
// the folder of ini位置, grpType.ini, cfdrive.ini and rqtbl.csv in that order.
//
// A stored text that a strict conversion cannot read throws Failure (13 for
// a text that is not a number, 6 for one out of range) at that key: the keys
// before it are set, the keys after it keep the values they had and the side
// files are not read.
void LoadSettings(const SettingsStore& store, ProgramState& state,
                  const QString& programFolder = platform::programFolder());

// Writes every key of the settings to the store as text (whole numbers and
// floating values as their shortest decimal text, switches as "True" or
// "False", texts and number-or-text values as held) and saves the store.
// Keys of the store the program does not know are kept. Throws Failure when
// the store cannot be written.
void SaveSettings(SettingsStore& store, const AppSettings& settings);

// The same without saving: only sets the keys of the store.
void storeSettings(SettingsStore& store, const AppSettings& settings);

} // namespace vortan
