#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the program and its tests need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6sql6-sqlite libqt6svg6 \
  qt6-qpa-plugins libgl-dev libqt6opengl6-dev qt6-translations-l10n \
  libxlsxwriter-dev libminizip-dev zlib1g-dev libpng-dev \
  libgtest-dev libgmock-dev googletest libbenchmark-dev \
  sqlite3 python3 clang-format xvfb dbus-daemon \
  fonts-dejavu-core fonts-liberation xdg-utils \
  libreoffice-writer-nogui libreoffice-calc-nogui poppler-utils
