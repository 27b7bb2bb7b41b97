#!/usr/bin/env bash
# The demo job as ./run.sh --demo-job runs it, from a finished build into a
# fresh run folder: the program starts LinuxCNC, homes, runs the demo
# project's placement program to its end, prints its summary, stops LinuxCNC
# and ends with exit status 0. Checks the status, every summary line and its
# format, the picture of the job screen, and that no LinuxCNC is left.
#
#   tests/shell/demo_job.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)

# A folder that user 1000 (the program after its privilege drop) can reach.
run=$(mktemp -d /var/tmp/kestravo-demo-job-test.XXXXXX)
chmod 755 "$run"
out="$run.out"
trap 'rm -rf "$run" "$out"' EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "---- output of the demo job:" >&2
  cat "$out" >&2 || true
  exit 1
}

status=0
env -u DISPLAY KESTRAVO_DEMO_JOB_TIMEOUT="${KESTRAVO_DEMO_JOB_TIMEOUT:-600}" \
  "$repo/scripts/run-sim.sh" "$build" "$run" --demo-job >"$out" || status=$?
cat "$out"

[ "$status" -eq 0 ] || fail "exit status $status"
grep -qx 'Demo job: finished' "$out" || fail "no 'Demo job: finished' line"
! grep -q '^Reason: ' "$out" || fail "a reason was printed for a run that ended normally"
for name in Placed Missed Basket "Components per hour"; do
  grep -Eqx "$name: [0-9]+" "$out" || fail "no '$name: <number>' line"
done
grep -Eqx 'Run time: [0-9]+:[0-5][0-9]:[0-5][0-9] \([0-9]+ s\)' "$out" || fail "no 'Run time: h:mm:ss (N s)' line"
grep -qx 'Exit status: 0' "$out" || fail "no 'Exit status: 0' line"
shot=$(sed -n 's/^Screenshot of the job screen: //p' "$out")
[ "$shot" = "$run/demo-job.png" ] || fail "screenshot path '$shot', expected $run/demo-job.png"
[ "$(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$shot is not a PNG picture"
# The rate follows from the placed count and the run time.
placed=$(sed -n 's/^Placed: //p' "$out")
seconds=$(sed -n 's/^Run time: .*(\([0-9]*\) s)$/\1/p' "$out")
rate=$(sed -n 's/^Components per hour: //p' "$out")
if [ "$placed" -gt 0 ] && [ "$seconds" -gt 0 ]; then
  expected=$(( (placed * 7200 + seconds) / (2 * seconds) ))
  [ "$rate" -eq "$expected" ] || fail "components per hour $rate, expected $expected"
else
  [ "$rate" -eq 0 ] || fail "components per hour $rate without placed parts or time"
fi
# The program stopped its LinuxCNC before it ended.
if pgrep -f "$run/linuxcnc/kestravo_sim.ini" >/dev/null; then
  fail "LinuxCNC of the run folder still runs"
fi
echo "PASS"
