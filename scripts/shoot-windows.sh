#!/usr/bin/env bash
# Renders windows of the program in Russian and English into PNG files, one
# shot file per window under scripts/shots/ (the direct control window, the
# settings password request, the machine settings, the encoder, tape
# centring, nozzle, camera calibration and inspection windows), through the QML test runner on the
# simulated machine's settings store and demo project (build it first with
# scripts/build.sh):
#   scripts/shoot-windows.sh [output folder]    (default: build/shots)
# Under Xvfb when xvfb-run is installed, otherwise on the offscreen platform.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
out="$(mkdir -p "${1:-$top/build/shots}" && cd "${1:-$top/build/shots}" && pwd)"
runner="$top/build/tests/kestravo_qmltest"
if [ ! -x "$runner" ]; then
  echo "No $runner: build first (scripts/build.sh)." >&2
  exit 1
fi
cd "$out"
export KESTRAVO_TEST_SIM="$top/sim"
# One program per window: the runner's program is not reused across test
# files. A window that fails is named at the end; the others are still shot.
failed=()
for shot in "$top"/scripts/shots/tst_*.qml; do
  if command -v xvfb-run >/dev/null 2>&1; then
    xvfb-run -a -s "-screen 0 1600x1000x24" \
      env QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software "$runner" -input "$shot" || failed+=("$(basename "$shot")")
  else
    env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software "$runner" -input "$shot" || failed+=("$(basename "$shot")")
  fi
done
echo "Written:"; ls -1 "$out"/*.png
if [ ${#failed[@]} -gt 0 ]; then
  echo "Failed: ${failed[*]}" >&2
  exit 1
fi
