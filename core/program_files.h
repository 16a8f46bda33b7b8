#pragma once
// The files of a program run that a file the user names for writing (an
// exchange-file export) must never replace: the survey and the postal
// database with the journal files the database engine keeps beside them,
// the settings file, and the side files of the settings folder.

#include "core/program_state.h"

#include <QString>
#include <vector>

namespace vortan {

struct ProgramFile {
    QString path;
    QString role;   // what the file is, as a message names it ("Vortanデータベース")
};

// The program's own files of `state`, and of the open survey database at
// `openDatabase` when it is given (it may differ from データ位置).
std::vector<ProgramFile> ProgramFiles(const ProgramState& state, const QString& openDatabase = QString());

// Throws when `target` is one of `files` by identity (links, relative paths
// and ".." included), naming its role (52), or when it exists and is no
// plain file, a folder, a device or a pipe, which would never be replaced
// by a renamed file (52).
void CheckWriteTarget(const QString& target, const std::vector<ProgramFile>& files, const QString& source);

} // namespace vortan
