#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ and runs the whole test suite headless under them. A memory
# error, a leak in our code or undefined behaviour ends the program that hit it,
# so the test fails. Arguments are passed to ctest.
#
# Of the second pass against PostgreSQL only the database layer's own tests
# run here (the engine's code is what the sanitizers watch); the server comes
# from scripts/postgres-test-server.sh, started here unless the caller
# (scripts/test.sh) already gave one in VORTAN_TEST_PGHOST.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-sanitize"
"$root/scripts/install-deps.sh"

# The same options while building (the build runs the default-file generator and
# lists the tests of every test program) and while testing. Leaks are reported
# except those the suppressions file places inside Qt and the system libraries.
# verify_asan_link_order=0 lets tests start programs with LD_PRELOAD.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

jobs="${VORTAN_BUILD_JOBS:-$(nproc)}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORTAN_SANITIZE=ON \
      -DVORTAN_BUILD_BENCH=OFF
cmake --build "$build" -j "$jobs"

if [[ -z "${VORTAN_TEST_PGHOST:-}" ]]; then
    pg_dir="$(mktemp -d)"
    trap '"$root/scripts/postgres-test-server.sh" stop "$pg_dir"' EXIT
    "$root/scripts/postgres-test-server.sh" start "$pg_dir" >/dev/null
    export VORTAN_TEST_PGHOST="$pg_dir"
fi

cd "$build"
ctest --output-on-failure -E '^postgres\.(intake|calc|sheet|report|ui|app)$' "$@"
