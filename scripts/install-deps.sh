#!/usr/bin/env bash
# Installs the Debian 12 packages Cuewright builds, tests and runs with.
# Needs root; uses sudo when run as another user.
set -euo pipefail

packages=(
    # toolchain and test frameworks
    build-essential cmake ninja-build pkg-config git
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev
    # back ends
    libsqlite3-dev sqlite3 nlohmann-json3-dev libzip-dev libpugixml-dev
    libpulse-dev pulseaudio libcivetweb-dev libqrencode-dev
    # reference tools and generated fixtures for the tests
    docx2txt catdoc unrtf antiword espeak-ng sox
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
