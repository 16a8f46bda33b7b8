#!/usr/bin/env bash
# Builds Vortan (Release, into build/) and starts it. The first run copies the
# shipped default files of the program folder build/bin into build/run/ and
# writes a settings file of its own, build/Vortan.ini, pointing at those
# copies; later runs keep both, so the surveys entered stay and the shipped
# files (which the tests copy) stay as built.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build" --target vortan vortan-cli vortan_default_files

program="$root/build/bin"
run="$root/build/run"
settings="${VORTAN_SETTINGS:-$root/build/Vortan.ini}"
if [ ! -e "$settings" ]; then
    mkdir -p "$run"
    for file in VORTAN.MDB Yuubin.MDB rqtbl.csv qaTbl.tbl; do
        [ -e "$run/$file" ] || cp "$program/$file" "$run/$file"
    done
    cat > "$settings" <<INI
[etc]
データ位置 = $run/VORTAN.MDB
住所位置 = $run/Yuubin.MDB
ini位置 = $run
INI
fi

# The manual is read from the settings folder; it is only read, so the copy
# there is always the one just built.
if [ -d "$run" ] && [ -e "$program/VORTAN_Manual.pdf" ]; then
    cp -f "$program/VORTAN_Manual.pdf" "$run/VORTAN_Manual.pdf"
fi

export VORTAN_SETTINGS="$settings"
exec "$program/vortan" "$@"
