#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and test.
# Does nothing when everything is already present.
set -euo pipefail
packages=(
  build-essential cmake pkg-config python3 clang-format
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-multimedia-dev qt6-translations-l10n libgl-dev
  qt6-l10n-tools qt6-tools-dev
  libfluidsynth-dev timgm6mb-soundfont
  fonts-wqy-microhei
  libgtest-dev libgmock-dev libbenchmark-dev
  desktop-file-utils appstream libxml2-utils lintian
  pulseaudio pulseaudio-utils xvfb x11-utils
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
