#!/bin/sh
# Installs the Debian packages Horalux needs to build, run and test, when they are missing.
set -e
PACKAGES="cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev \
libgl-dev qt6-qpa-plugins fonts-dejavu-core xvfb xauth poppler-utils"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
