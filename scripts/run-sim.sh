#!/usr/bin/env bash
# Lays out a run folder for the simulated machine of sim/ from a finished
# build and starts the program in it (./run.sh does this after installing and
# building; the demo job's test does it on a folder of its own).
#
#   scripts/run-sim.sh BUILD_DIR RUN_DIR [--demo-job]
#
# Without a display the program runs under Xvfb, a screenshot of its main
# window is written and its path printed, and the program ends
# (KESTRAVO_KEEP_RUNNING=1 keeps it running until Ctrl+C). With --demo-job the
# program runs the demo project's placement program by itself, prints its
# summary and ends with the run's exit status (KESTRAVO_DEMO_JOB_TIMEOUT:
# seconds before it gives up, 900 by default).
set -euo pipefail
if [ $# -lt 2 ] || [ $# -gt 3 ] || { [ $# -eq 3 ] && [ "$3" != "--demo-job" ]; }; then
  echo "usage: $0 BUILD_DIR RUN_DIR [--demo-job]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
run=$(cd "$2" && pwd)
demo_job=0
if [ $# -eq 3 ]; then
  demo_job=1
fi
cd "$(dirname "$0")/.."

# The run folder: the program, its settings store and the folders it writes.
# Started as root, the program drops to user and group 1000, so that user must
# be able to reach and write all of it.
mkdir -p "$run/home" "$run/runtime" "$run/logs" "$run/packages" "$run/projects"
cp "$build/bin/kestravo" "$run/kestravo"
# The settings store and the demo project name files by absolute path: the
# placeholder @RUN@ becomes the run folder when they are first copied.
if [ ! -f "$run/settings.ini" ]; then
  sed "s|@RUN@|$run|g" sim/settings.ini >"$run/settings.ini"
fi
# Cameras without a device: the simulated ones (a board under the head camera,
# a component on the nozzle), unless the settings name other cameras.
for cam in "camera1Name=sim:board" "camera2Name=sim:component"; do
  if ! grep -q "^${cam%%=*}=." "$run/settings.ini"; then
    sed -i "/^${cam%%=*}=/d" "$run/settings.ini"
    if grep -q '^\[device\]' "$run/settings.ini"; then
      sed -i "/^\[device\]/a $cam" "$run/settings.ini"
    else
      printf '\n[device]\n%s\n' "$cam" >> "$run/settings.ini"
    fi
  fi
done
cp -rn sim/packages/. "$run/packages/" 2>/dev/null || true
# The simulated device programmer (programmerScriptPath; programming itself is
# off until the settings or a feeder ask for it).
install -m 755 sim/sim-programmer "$run/sim-programmer"
if [ ! -d "$run/projects/demo" ]; then
  cp -r sim/projects/. "$run/projects/"
  for f in "$run"/projects/demo/*.project "$run"/projects/demo/*Feeders; do
    sed -i "s|@RUN@|$run|g" "$f"
  done
fi
# The simulated machine's LinuxCNC configuration, selected when the settings
# store names none yet (the program starts LinuxCNC itself 5 s after start).
mkdir -p "$run/linuxcnc"
cp sim/linuxcnc/kestravo_sim.ini sim/linuxcnc/kestravo_sim.hal sim/linuxcnc/kestravo_sim.tbl "$run/linuxcnc/"
if grep -q '^iniFile=$' "$run/settings.ini"; then
  sed -i -e "s|^iniFile=\$|iniFile=file://$run/linuxcnc/kestravo_sim.ini|" \
         -e "s|^linuxCncAutoStart=false\$|linuxCncAutoStart=true|" "$run/settings.ini"
fi
chmod 700 "$run/runtime"
if [ "$(id -u)" -eq 0 ]; then
  chown -R 1000:1000 "$run"
fi

export HOME="$run/home"
export XDG_RUNTIME_DIR="$run/runtime"

# The simulated machine's instruments: a vacuum sensor and an RLC meter on
# pseudo-terminals, reached through the links the settings store names. They
# run as the user the program drops to, so that it may open their ports.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=1000 --regid=1000 --clear-groups)
fi
cp "$build/bin/kestravo-vs-emulator" "$build/bin/kestravo-rlc-emulator" "$run/"
emulator_pids=()
# The program tells the emulators through this file whether the nozzle's
# valve is on, whether it holds a part and what the RLC meter measures of it.
export KESTRAVO_SIM_NOZZLE_STATE="$run/sim-nozzle"
"${as_user[@]}" "$run/kestravo-vs-emulator" --link "$run/vs-port" --nozzle "$KESTRAVO_SIM_NOZZLE_STATE" >/dev/null &
emulator_pids+=($!)
"${as_user[@]}" "$run/kestravo-rlc-emulator" --link "$run/rlc-port" --nozzle "$KESTRAVO_SIM_NOZZLE_STATE" >/dev/null &
emulator_pids+=($!)
stop_emulators() { kill "${emulator_pids[@]}" 2>/dev/null || true; }
trap stop_emulators EXIT

# The demo job: the program runs the demo project by itself, prints its
# summary and ends with the run's exit status.
demo_env=()
if [ "$demo_job" -eq 1 ]; then
  demo_env=(KESTRAVO_DEMO_JOB=1 "KESTRAVO_DEMO_JOB_SCREENSHOT=$run/demo-job.png"
            "KESTRAVO_DEMO_JOB_TIMEOUT=${KESTRAVO_DEMO_JOB_TIMEOUT:-900}")
fi

if [ -n "${DISPLAY:-}" ]; then
  env "${demo_env[@]}" "$run/kestravo"
  exit $?
fi

# No display: a virtual one.
# Xvfb runs in a session of its own, so that Ctrl+C in this terminal does not
# take the display away from the program before the program has ended.
fd_file=$(mktemp)
setsid Xvfb -displayfd 3 -ac -nolisten tcp -screen 0 1280x800x24 3>"$fd_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$fd_file"; stop_emulators' EXIT
for _ in $(seq 50); do
  [ -s "$fd_file" ] && break
  sleep 0.1
done
display=$(head -n1 "$fd_file")
if [ -z "$display" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb

# The program ignores SIGINT and SIGTERM (a stray Ctrl+C must not end a job);
# it quits as through its menu on SIGHUP, saving its settings and stopping
# LinuxCNC. Ctrl+C here asks it to do that and waits until it has.
run_program() {
  "$@" &
  local prog=$!
  trap 'kill -HUP "$prog" 2>/dev/null || true' INT TERM HUP
  while kill -0 "$prog" 2>/dev/null; do
    wait "$prog" 2>/dev/null || true
  done
  local status=0
  wait "$prog" 2>/dev/null || status=$?
  trap - INT TERM HUP
  return "$status"
}

if [ "$demo_job" -eq 1 ]; then
  run_program env "${demo_env[@]}" "$run/kestravo"
elif [ "${KESTRAVO_KEEP_RUNNING:-0}" = "1" ]; then
  echo "The program runs on the virtual display $DISPLAY; Ctrl+C ends it."
  run_program "$run/kestravo"
else
  run_program env KESTRAVO_SCREENSHOT="$run/screenshot.png" KESTRAVO_SCREENSHOT_QUIT=1 "$run/kestravo"
fi
