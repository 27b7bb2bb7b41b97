#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
# Extra arguments go to ctest (for example: ./test.sh -L shell).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
cd build
ctest --output-on-failure -j "$(nproc)" "$@"
