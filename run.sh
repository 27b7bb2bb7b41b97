#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the simulated
# machine of sim/. Without a display the program runs under Xvfb, a screenshot
# of its main window is written and its path printed, and the program ends
# (KESTRAVO_KEEP_RUNNING=1 keeps it running until Ctrl+C).
#
# ./run.sh --demo-job runs the demo job instead: LinuxCNC started, the machine
# switched on and homed, the demo project's placement program run from
# "Начать" to its end; the program then prints a summary (placed, missed,
# basket, run time, components per hour, the picture of the job screen) and
# ends, with exit status 0 only when the run ended normally. It runs in a
# fresh run folder of its own (demo-job/ inside the usual one) every time.
set -euo pipefail
cd "$(dirname "$0")"
repo=$(pwd)

demo_job=0
for arg in "$@"; do
  case "$arg" in
    --demo-job) demo_job=1 ;;
    -h|--help)
      echo "usage: $0 [--demo-job]"
      exit 0
      ;;
    *)
      echo "$0: unknown option $arg (usage: $0 [--demo-job])" >&2
      exit 2
      ;;
  esac
done

./scripts/install-deps.sh
./scripts/build.sh

# The run folder: the program, its settings store and the folders it writes.
# Started as root, the program drops to user and group 1000, so that user must
# be able to reach and write all of it.
run="$repo/run"
if [ "$(id -u)" -eq 0 ] && ! setpriv --reuid=1000 --regid=1000 --clear-groups test -x "$repo" 2>/dev/null; then
  run="/var/tmp/kestravo-run"
  echo "User 1000 cannot reach $repo; using $run as the run folder."
fi

if [ "$demo_job" -eq 1 ]; then
  # Full feeders and the shipped demo project every time.
  rm -rf "$run/demo-job"
  mkdir -p "$run"
  exec ./scripts/run-sim.sh build "$run/demo-job" --demo-job
fi
exec ./scripts/run-sim.sh build "$run"
