#!/bin/sh
# The demo job (marks, dots, 24 components from tapes, a tray and a strip,
# two nozzles) on the simulated machine (real LinuxCNC, simulated cameras):
# prints the run's wall time against the time the machine spent executing
# its blocks, the components per hour, and the time of every row; then the
# same with a pick error at every feeder and every fifth tape pick empty.
# Build first (scripts/build.sh); LinuxCNC must not be running.
exec "$(dirname "$0")/bench_job_run.sh" job_demo
