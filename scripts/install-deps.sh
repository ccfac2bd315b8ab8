#!/bin/sh
# Installs the Debian 12 packages the build, the game and the tests need, when missing.
# xfonts-base: the X core fonts SDL's message boxes need to appear under Xvfb.
# desktop-file-utils, appstream: the install test validates the desktop entry and metadata.
# python3: the playtest batch (scripts/playtest.py).
# fluid-soundfont-gm: the General MIDI set the music plays through (the game falls back to
# MuseScore General or TimGM6mb when only those are installed).
# help2man, dpkg-dev, lintian: the Debian package (make deb), its manual page and its test.
set -e
PACKAGES="build-essential cmake pkg-config libgtest-dev libbenchmark-dev ccache \
  libsdl2-dev libfluidsynth-dev fluid-soundfont-gm libimgui-dev libstb-dev \
  libfreetype-dev fonts-dejavu-core fonts-play fonts-vlgothic \
  xvfb xauth imagemagick xdotool matchbox-window-manager sox xfonts-base \
  desktop-file-utils appstream python3 help2man dpkg-dev lintian"
missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y --no-install-recommends $missing
