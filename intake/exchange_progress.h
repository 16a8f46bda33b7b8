#pragma once
// Progress of a long intake operation, as a progress bar shows it.

#include <functional>

namespace vortan::intake {

// Called with the current value and the maximum (value <= maximum).
using ProgressCallback = std::function<void(int value, int maximum)>;

} // namespace vortan::intake
