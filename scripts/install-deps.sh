#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program needs.
# Does nothing when all of them are already installed. Runs apt-get as root directly,
# otherwise through sudo.
set -euo pipefail

PACKAGES=(
  # build tools
  cmake ninja-build g++ ccache pkg-config
  # Qt 5: libraries, QML modules used at run time, translation tools
  qtbase5-dev qtdeclarative5-dev libqt5serialport5-dev
  qttools5-dev qttools5-dev-tools
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-controls
  qml-module-qtquick-dialogs qml-module-qtquick-layouts qml-module-qtqml-models2
  qml-module-qtquick-privatewidgets qml-module-qttest
  # run time: X server for headless runs, keyboard repeat, kernel modules, a font
  xvfb xauth x11-xserver-utils kmod fonts-dejavu-core
  # fuzzing of the list readers: clang with libFuzzer
  clang libclang-rt-14-dev
  # cameras: OpenCV, V4L2 access and tools, MJPEG decoding
  libopencv-core-dev libopencv-imgproc-dev libopencv-calib3d-dev
  libopencv-features2d-dev libopencv-imgcodecs-dev
  libv4l-dev v4l-utils libmjpegtools-dev
  # motion controller: LinuxCNC 2.9 (user-space realtime) and its client libraries
  linuxcnc-uspace linuxcnc-uspace-dev libboost-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "These packages are missing and neither root rights nor sudo are available: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
