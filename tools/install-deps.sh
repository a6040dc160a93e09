#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test dependencies this machine lacks.
# Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # lrelease, which compiles the Thai texts of the platform's dialogs and menus.
    qt6-l10n-tools
    libsqlite3-dev sqlite3 libicu-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-thai-tlwg fontconfig
    # The message-box tests show boxes on a virtual X server, with and without a GTK desktop's
    # platform theme, as well as off screen.
    xvfb qt6-gtk-platformtheme
    mdbtools
    # The independent checker of written Jet files (../shared/tools/jet-oracle) runs on Java.
    default-jre-headless libcommons-lang3-java
)
for option in "$@"; do
    case "$option" in
    --with-fuzz) packages+=(clang libclang-rt-dev) ;;
    --with-gui-tools) packages+=(xvfb xauth) ;;
    *) echo "unknown option: $option" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
