#!/usr/bin/env bash
# Installs the Debian 12 packages Cuewright builds, tests and runs with, and
# the browser tests' one npm package (playwright-core, which drives the
# system's Chromium and never downloads a browser of its own).
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
    # the browser tests' browser
    chromium chromium-driver
)
# Node.js for the browser tests, unless one is installed already (another
# distribution of it may bring its own npm, which Debian's would clash with).
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    packages+=(nodejs npm)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

install_browser_test_packages() {
    local folder
    folder="$(dirname "$0")/../tests/browser"
    if [ ! -d "$folder/node_modules/playwright-core" ] && command -v npm >/dev/null; then
        (cd "$folder" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error) ||
            echo "install-deps: npm ci failed in tests/browser; the browser tests will be skipped" >&2
    fi
}

if [ ${#missing[@]} -eq 0 ]; then
    install_browser_test_packages
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
install_browser_test_packages
