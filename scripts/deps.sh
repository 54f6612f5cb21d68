#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Parvane need, when any is missing.
# Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    fonts-dejavu-core fonts-liberation2
    libx11-dev libxtst-dev
    xvfb xauth x11-utils poppler-utils
    clang clang-format libclang-rt-14-dev
    time ccache locales
    wine wine64 gcc-mingw-w64-x86-64 openbox xdotool
    cups cups-bsd cups-client printer-driver-cups-pdf libcups2-dev
    dbus dbus-x11 libnotify-bin
    dpkg-dev fakeroot lintian file systemd desktop-file-utils python3
)

# The tests run the programs under a French system environment too (decimal comma, French dates:
# tests/data/cli/runs/26-locale-fr.txt): without fr_FR.UTF-8 that test fails, so its absence is an
# error here.
ensure_french_locale() {
    if locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
        echo "The fr_FR.UTF-8 locale is missing and neither root nor sudo can make it." >&2
        return 1
    fi
    local run=()
    [ "$(id -u)" -eq 0 ] || run=(sudo)
    "${run[@]}" sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | "${run[@]}" tee -a /etc/locale.gen >/dev/null
    "${run[@]}" locale-gen >/dev/null
}

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    ensure_french_locale
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
ensure_french_locale
