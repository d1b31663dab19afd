#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test: the host tests and
# the bounded fuzz run natively, the Windows tests under Wine in a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
tools/build.sh
status=0
ctest --test-dir build/host --output-on-failure -j "$(nproc)" || status=1
ctest --test-dir build/win32 --output-on-failure -j "$(nproc)" || status=1
ctest --test-dir build/win64 --output-on-failure -j "$(nproc)" || status=1
exit $status
