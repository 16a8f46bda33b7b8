#!/usr/bin/env bash
# Builds everything (Release, into build/) and runs the whole test suite
# headless.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build"

export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure "$@"
