#pragma once
// Failures of the intake files' devices, under the run-time numbers the error
// reporter knows: a missing file 53, a missing folder 76, a refused file 70, a
// file that cannot be read or written 75, a full disk 61, and a file that
// went away while it was read 71 (its card was pulled, its drive is gone).

#include "core/failure.h"

class QFileDevice;

namespace vortan::intake {

// The failure of a file that could not be opened or read.
Failure fileReadFailure(const QFileDevice& device, const QString& source);

// The failure of a file that could not be created or written.
Failure fileWriteFailure(const QFileDevice& device, const QString& source);

} // namespace vortan::intake
