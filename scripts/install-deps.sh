#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and taking
# screenshots of Vortan need, but only those that are missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
    qt6-translations-l10n   # qtbase_ja.qm: the standard dialogs in Japanese
    libsqlite3-dev
    libpq-dev                     # the PostgreSQL engine of a shared survey database
    postgresql-15                 # the throwaway server of the tests and benchmarks
    libxlsxwriter-dev             # the Excel workbook of a survey
    python3-openpyxl              # the test that reads the workbook back
    mdbtools-dev                  # libmdb: reading old Access survey databases (vortan-mdb-reader)
    libgtest-dev
    fonts-ipafont
    xvfb xauth imagemagick poppler-utils
    clang-14 libclang-rt-14-dev   # the fuzzing build (VORTAN_FUZZ)
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
