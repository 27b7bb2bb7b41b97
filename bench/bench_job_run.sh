#!/bin/sh
# A program of the calibration mark, the starting G-code, 4 reference marks,
# 50 solder dots and the ending G-code on the simulated machine (real
# LinuxCNC, simulated head camera): prints the run's wall time against the
# time the machine spent executing its blocks, and the time of every row.
# Build first (scripts/build.sh); LinuxCNC must not be running. An argument
# names another benchmark folder under bench/ (bench_job_demo.sh: job_demo).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software XDG_RUNTIME_DIR="$runtime" \
  KESTRAVO_TEST_SIM="$top/sim" "$top/build/tests/kestravo_qmltest" -input "$top/bench/${1:-job_run}" 2>&1 |
  grep -E 'BENCH|rows:|FAIL|Totals' | sed 's/^QDEBUG : [^)]*) qml: //'
