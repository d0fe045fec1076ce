#!/usr/bin/env bash
# Builds and runs the demo robot program on the simulated platform. Installs what is missing
# first. Options are passed to the demo (try --help).
#
#   scripts/demo.sh [OPTION...]                 on this repository's simulated platform
#   scripts/demo.sh --wpilib [2026|2027] [OPTION...]
#                                               on WPILib's own simulation HAL (built from
#                                               ../shared/wpilib by scripts/wpilib-hal.sh), its
#                                               devices answered by the library's device models
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
if [[ ${1:-} == --wpilib ]]; then
  shift
  tag=v2026.2.2
  case ${1:-} in
    2026) shift ;;
    2027) tag=v2027.0.0-alpha-6; shift ;;
  esac
  if [[ -z $(scripts/wpilib-hal.sh --where) ]]; then
    echo "demo.sh: no WPILib snapshots (../shared/wpilib) to build WPILib's simulation HAL from" >&2
    exit 1
  fi
  scripts/wpilib-hal.sh "$tag" >/dev/null
  build=$(scripts/wpilib-driver.sh "$tag")
  export LD_LIBRARY_PATH="$PWD/build/wpilib/$tag/lib:$build/platform/wpilibsim${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
  exec "$build/demo/brova-demo-wpilib" "$@"
fi
cmake --preset default >/dev/null
cmake --build --preset default --target brova-demo brova-decode >/dev/null
exec build/default/demo/brova-demo "$@"
