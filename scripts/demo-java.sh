#!/usr/bin/env bash
# Builds and runs the Java demo robot program on the simulated platform. Installs what is
# missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target java_demo
