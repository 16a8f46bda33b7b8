#pragma once
// Failures of the devices of the files the program reads and writes, under
// the run-time numbers the error reporter knows.
//
// Reading: a missing file 53, a missing folder 76, a file that went away
// while it was read 71 (its card was pulled, its drive is gone). What the
// reporter's own texts would misname gets a description of its own and a
// number the reporter shows with it: a folder, a device or a pipe given as a
// file 52, a file that may not or cannot be read 57.
//
// Writing: a refused file 70, a file that cannot be written 75, a full
// disk 61, a missing folder 76.

#include "core/failure.h"

class QFileDevice;

namespace vortan {

// The failure of a file that could not be opened or read.
Failure fileReadFailure(const QFileDevice& device, const QString& source);

// The failure of a file that could not be created or written.
Failure fileWriteFailure(const QFileDevice& device, const QString& source);

// The failure of a path that exists but is no plain file (a folder, a
// device, a pipe): it is never read as one, nor replaced.
Failure notAFileFailure(const QString& path, const QString& source);

} // namespace vortan
