#!/bin/sh
# The demo job (marks, dots, 24 components from tapes, a tray and a strip,
# two nozzles) on the simulated machine (real LinuxCNC, simulated cameras):
# prints the run's wall time against the time the machine spent executing
# its blocks, the components per hour, and the time of every row.
# Build first (scripts/build.sh); LinuxCNC must not be running.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software XDG_RUNTIME_DIR="$runtime" \
  KESTRAVO_TEST_SIM="$top/sim" "$top/build/tests/kestravo_qmltest" -input "$top/bench/job_demo" 2>&1 |
  grep -E 'BENCH|rows:|FAIL|Totals' | sed 's/^QDEBUG : [^)]*) qml: //'
