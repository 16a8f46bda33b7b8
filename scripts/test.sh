#!/usr/bin/env bash
# Builds everything (Release, into build/) and runs the whole test suite
# headless; then builds and runs it again under AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/test-sanitized.sh, into build-sanitize/).
# Fails if either run fails. Arguments are passed to both ctest runs.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build"

status=0
(
    export QT_QPA_PLATFORM=offscreen
    cd "$root/build"
    ctest --output-on-failure "$@"
) || status=1

"$root/scripts/test-sanitized.sh" "$@" || status=1
exit $status
