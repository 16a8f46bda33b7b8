#pragma once
// vortan-cli's output is read by scripts: the error stream carries the
// program's own messages and nothing else. The toolkit's diagnostic messages
// (a missing runtime folder of a session run as root or from a scheduled
// job, font and platform notes) would come between them.

namespace vortan::cli {

// Keeps the toolkit's debug, information and warning messages off the error
// stream from now on; its critical and fatal messages still reach it, since
// they tell of a fault in the run. Call before the application object is
// made, which already warns.
void silenceToolkitDiagnostics();

} // namespace vortan::cli
