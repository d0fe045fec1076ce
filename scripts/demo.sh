#!/usr/bin/env bash
# Builds and runs the demo robot program on the simulated platform. Installs what is missing
# first. Options are passed to the demo (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target brova-demo brova-decode >/dev/null
exec build/default/demo/brova-demo "$@"
