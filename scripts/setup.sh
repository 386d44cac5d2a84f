#!/usr/bin/env bash
# Installs every Debian package that building, testing and the local test servers need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-charts-dev qt6-multimedia-dev libqt6opengl6-dev qt6-translations-l10n \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libcurl4-openssl-dev libssl-dev openssl \
  xvfb xauth x11-apps imagemagick fonts-dejavu-core \
  python3 python3-aiosmtpd \
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
  clang clang-format libclang-rt-14-dev \
  dpkg-dev file appstream desktop-file-utils locales >/dev/null

# Users run a German locale and the tests do too; the money tests compare it with a few others.
for l in de_DE.UTF-8 en_US.UTF-8 tr_TR.UTF-8; do
  $SUDO sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
done
$SUDO locale-gen >/dev/null
