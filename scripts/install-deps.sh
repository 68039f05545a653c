#!/usr/bin/env bash
# Installs what Pelmora needs to build, run and test on Debian 12.
# Installs only what is missing, so running it twice is harmless. Packages
# named as arguments are installed too (scripts/fuzz.sh adds clang).
set -euo pipefail

packages=(
  build-essential cmake pkg-config ninja-build ccache
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  qt6-multimedia-dev libqt6multimediawidgets6 libqt6multimedia6
  qml6-module-qtmultimedia
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-libav fluid-soundfont-gm
  libicu-dev libjpeg62-turbo-dev libuemf-dev libxcb1-dev
  fonts-ipafont-gothic fonts-noto-cjk
  xdg-utils libbenchmark-dev
  xvfb openbox xdotool x11-utils locales
  ibus ibus-mozc dbus-daemon
  desktop-file-utils appstream qt6-translations-l10n tango-icon-theme
  hicolor-icon-theme file
  "$@"
)

say() { printf 'install-deps: %s\n' "$*"; }

# Root runs apt-get itself; anyone else needs sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    say "this step needs root: $*" >&2
    say "run this script as root, or install sudo and give your user the right to use it." >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  say "${#missing[@]} of the ${#packages[@]} packages Pelmora needs are missing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    say "installing them needs root, and sudo is not installed. As root, run:" >&2
    say "  apt-get install --no-install-recommends ${missing[*]}" >&2
    say "or install sudo and give your user the right to use it, then run this again." >&2
    exit 1
  fi
  say "installing them with apt-get as root (all of them on a fresh Debian 12 come to about"
  say "600 packages with their dependencies: 530 MB to download, 1.6 GB on disk, several minutes)."
  export DEBIAN_FRONTEND=noninteractive
  say "reading the package lists (apt-get update)..."
  as_root apt-get update -q
  say "downloading and installing..."
  as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The desktop tests run the windows under the Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  say "generating the ja_JP.UTF-8 locale (the desktop tests use it)..."
  if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null; then
    as_root sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  else
    as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
fi
