#!/usr/bin/env bash
# Builds everything (Release, into build/) and runs the whole test suite
# headless; then builds and runs it again under AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/test-sanitized.sh, into build-sanitize/).
# The tests that touch the database run a second time against a throwaway
# PostgreSQL server (scripts/postgres-test-server.sh), stopped at the end
# whatever the outcome. Fails if either run fails. Arguments are passed to
# both ctest runs.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build"

# One server for both runs, on a Unix socket in a temporary folder.
pg_dir="$(mktemp -d)"
trap '"$root/scripts/postgres-test-server.sh" stop "$pg_dir"' EXIT
"$root/scripts/postgres-test-server.sh" start "$pg_dir" >/dev/null
export VORTAN_TEST_PGHOST="$pg_dir"

status=0
(
    export QT_QPA_PLATFORM=offscreen
    cd "$root/build"
    ctest --output-on-failure "$@"
) || status=1

"$root/scripts/test-sanitized.sh" "$@" || status=1
exit $status
