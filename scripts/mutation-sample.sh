#!/usr/bin/env bash
# Plants small faults in the program one at a time and tells which of them the
# tests catch. The faults are listed in mutation-faults.tsv beside this script.
#
# Work happens on a copy of the tree (outside the repository, kept between runs
# together with its build folder, so that ccache and ninja rebuild only what a
# fault touches); the real sources are never changed, an interrupted run leaves
# nothing behind but the copy.
#
# For each fault: the listed file must hold the listed text exactly once (else
# the fault is "stale" and counted as such, so that moved or rewritten code is
# noticed), the text is replaced, the fault's test programs are rebuilt and run
# one after the other (stopping at the first failing test); with --full the
# whole suite follows through ctest (-j2, stopping at the first failure). A fault that does not
# compile counts as "not compiled", never as caught.
#
# Usage: scripts/mutation-sample.sh [options]
#   --faults ID[,ID...]   only these faults (default: all of the list)
#   --programs P[,P...]   run these test programs instead of each fault's own
#   --full                after the fault's programs, run the whole suite
#   --list FILE           another fault list
#   --work DIR            the folder of the copy (default /tmp/vortan-mutation-$USER)
#   --dry                 only check that each fault's text is found once
#   --reuse-build         copy the tree together with its built build/ folder and
#                         work on the copy mounted over the tree's own path, in a
#                         mount namespace of this run only (needs root): nothing
#                         is compiled but what a fault touches
set -uo pipefail
arguments=("$@")

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
list="$root/scripts/mutation-faults.tsv"
work="${VORTAN_MUTATION_DIR:-/tmp/vortan-mutation-${USER:-$(id -u)}}"
only=""
programs=""
full=0
dry=0
reuse=0

while [ $# -gt 0 ]; do
    case "$1" in
        --faults) only="$2"; shift 2 ;;
        --programs) programs="$2"; shift 2 ;;
        --full) full=1; shift ;;
        --list) list="$2"; shift 2 ;;
        --work) work="$2"; shift 2 ;;
        --dry) dry=1; shift ;;
        --reuse-build) reuse=1; shift ;;
        -h|--help) sed -n '2,27p' "${BASH_SOURCE[0]}"; exit 0 ;;
        *) echo "unknown option: $1" >&2; exit 2 ;;
    esac
done

src="$work/src"
build="$work/build"
log="$work/log"
mkdir -p "$log"

if [ "$reuse" = 1 ] && [ -z "${VORTAN_MUTATION_INSIDE:-}" ]; then
    [ -f "$root/build/build.ninja" ] || { echo "no built build/ folder in $root" >&2; exit 1; }
    rm -rf "$work/same"
    mkdir -p "$work/same"
    cp -a "$root/." "$work/same/"
    exec unshare -m --propagation private bash -c \
        'mount --bind "$1" "$2" && shift 2 && VORTAN_MUTATION_INSIDE=1 exec bash "$@"' \
        _ "$work/same" "$root" "$root/scripts/mutation-sample.sh" "${arguments[@]}"
fi
if [ -n "${VORTAN_MUTATION_INSIDE:-}" ]; then
    src="$root"
    build="$root/build"
fi
mkdir -p "$src"

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

# Applies (or checks) one fault on a file: prints found (the number of times
# the text occurs); with "apply", replaces the one occurrence.
fault_tool() {
    python3 - "$@" <<'PY'
import sys
mode, path, find, repl = sys.argv[1:5]
def unescape(s):
    return s.encode("utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")
find, repl = unescape(find), unescape(repl)
try:
    text = open(path, encoding="utf-8").read()
except OSError:
    print(0); sys.exit(0)
n = text.count(find)
print(n)
if mode == "apply" and n == 1:
    open(path, "w", encoding="utf-8").write(text.replace(find, repl))
PY
}

# The copy holds the tree's files (tracked and new, not ignored); a file that
# differs is copied anew and so gets a new date, and ninja rebuilds it.
sync_copy() {
    (cd "$root" && git ls-files -co --exclude-standard -z) | python3 -c '
import os, sys, shutil, filecmp
root, src = sys.argv[1], sys.argv[2]
wanted = [f for f in sys.stdin.buffer.read().decode().split("\0") if f and os.path.isfile(os.path.join(root, f))]
for f in wanted:
    a, b = os.path.join(root, f), os.path.join(src, f)
    if not os.path.exists(b) or not filecmp.cmp(a, b, shallow=False):
        os.makedirs(os.path.dirname(b), exist_ok=True)
        shutil.copyfile(a, b)
        shutil.copymode(a, b)
keep = set(wanted)
for dirpath, dirnames, filenames in os.walk(src):
    for name in filenames:
        rel = os.path.relpath(os.path.join(dirpath, name), src)
        if rel not in keep:
            os.remove(os.path.join(dirpath, name))
' "$root" "$src"
}

current=""
restore() {
    if [ -n "$current" ]; then
        cp "$log/original" "$src/$current" && touch "$src/$current"
        current=""
    fi
}
trap 'restore; exit 130' INT TERM
trap restore EXIT

binary_of() {
    find "$build" -name "$1" -type f -perm -u+x 2>/dev/null | head -1
}

# Runs the given programs, stopping at the first failure; prints the program
# that failed.
run_programs() {
    local p bin
    for p in ${1//,/ }; do
        bin="$(binary_of "$p")"
        if [ -z "$bin" ]; then
            echo "missing:$p"
            return 0
        fi
        if ! (cd "$build" && timeout 900 "$bin" --gtest_fail_fast --gtest_brief=1 > "$log/run-$p.txt" 2>&1); then
            echo "$p"
            return 0
        fi
    done
}

[ -z "${VORTAN_MUTATION_INSIDE:-}" ] && sync_copy
if [ ! -f "$build/build.ninja" ] && [ "$dry" = 0 ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache > "$log/configure.txt" 2>&1 \
        || { echo "configure failed: $log/configure.txt" >&2; exit 1; }
fi

# The faults of this run.
mapfile -t faults < <(grep -v -E '^(#|\s*$)' "$list" | while IFS=$'\t' read -r id file progs find repl what; do
    if [ -z "$only" ] || [[ ",$only," == *",$id,"* ]]; then printf '%s\n' "$id"; fi; done)

field() { grep -v -E '^(#|\s*$)' "$list" | awk -F'\t' -v id="$1" -v n="$2" '$1 == id { print $n; exit }'; }

if [ "$dry" = 0 ]; then
    # The unmutated tree must build and pass, or every fault would look caught.
    all_programs=""
    for id in "${faults[@]}"; do all_programs="$all_programs,${programs:-$(field "$id" 3)}"; done
    all_programs="$(tr ',' '\n' <<< "$all_programs" | grep -v '^$' | sort -u | paste -sd, -)"
    echo "building the copy in $build ..."
    cmake --build "$build" -j2 > "$log/build-base.txt" 2>&1 \
        || { echo "the unmutated tree does not build: $log/build-base.txt" >&2; exit 1; }
    failed="$(run_programs "$all_programs")"
    if [ -n "$failed" ]; then
        echo "the unmutated tree fails in $failed: $log/run-${failed#missing:}.txt" >&2
        exit 1
    fi
fi

caught=0; missed=0; stale=0; broken=0
declare -a missed_ids stale_ids
for id in "${faults[@]}"; do
    file="$(field "$id" 2)"; progs="${programs:-$(field "$id" 3)}"
    find_text="$(field "$id" 4)"; repl_text="$(field "$id" 5)"
    n="$(fault_tool check "$src/$file" "$find_text" "$repl_text")"
    if [ "$n" != 1 ]; then
        printf '%-13s %-34s %s (text found %s times)\n' "stale" "$id" "$file" "$n"
        stale=$((stale + 1)); stale_ids+=("$id")
        continue
    fi
    [ "$dry" = 1 ] && { printf '%-13s %-34s %s\n' "ok" "$id" "$file"; continue; }

    cp "$src/$file" "$log/original"
    current="$file"
    fault_tool apply "$src/$file" "$find_text" "$repl_text" > /dev/null
    # Program by program: a fault caught by the first needs no other built.
    by=""; compiled=1
    for p in ${progs//,/ }; do
        if ! cmake --build "$build" -j2 --target "$p" > "$log/build-$id.txt" 2>&1; then
            compiled=0
            break
        fi
        by="$(run_programs "$p")"
        [ -n "$by" ] && break
    done
    if [ "$compiled" = 0 ]; then
        printf '%-13s %-34s %s\n' "not compiled" "$id" "$file"
        broken=$((broken + 1))
        restore
        continue
    fi
    if [ -z "$by" ] && [ "$full" = 1 ]; then
        cmake --build "$build" -j2 > "$log/build-$id.txt" 2>&1
        if ! (cd "$build" && ctest -j2 --stop-on-failure > "$log/ctest-$id.txt" 2>&1); then
            by="ctest"
        fi
    fi
    if [ -n "$by" ]; then
        printf '%-13s %-34s %s (by %s)\n' "caught" "$id" "$file" "$by"
        caught=$((caught + 1))
    else
        printf '%-13s %-34s %s\n' "MISSED" "$id" "$file"
        missed=$((missed + 1)); missed_ids+=("$id")
    fi
    restore
done

echo
echo "faults: ${#faults[@]}  caught: $caught  missed: $missed  stale: $stale  not compiled: $broken"
[ "$missed" -gt 0 ] && echo "missed: ${missed_ids[*]}"
[ "$stale" -gt 0 ] && echo "stale: ${stale_ids[*]}"
exit 0
