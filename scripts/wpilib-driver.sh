#!/usr/bin/env bash
# Builds the library against WPILib's own headers and its simulation HAL (built by
# scripts/wpilib-hal.sh) in build/wpilib/driver-TAG/, with the device models
# (libBrovaDriverSim.so) and the demo's WPILib main (brova-demo-wpilib), or only the targets
# named. Prints the build folder last. The build log is build/wpilib/driver-TAG.log.
#
#   scripts/wpilib-driver.sh TAG [TARGET...]     TAG: v2026.2.2 or v2027.0.0-alpha-6
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tag=${1:?usage: scripts/wpilib-driver.sh TAG [TARGET...]}
shift
targets=("$@")
((${#targets[@]})) || targets=(BrovaDriver BrovaDriverSim brova-demo-wpilib)
case $tag in
  v2026.*) generation=2026 ;;
  *) generation=2027 ;;
esac
wpilib=$root/build/wpilib/$tag
[[ -f $wpilib/done ]] || { echo "wpilib-driver.sh: no WPILib $tag HAL in $wpilib (scripts/wpilib-hal.sh)" >&2; exit 1; }
build=$root/build/wpilib/driver-$tag
if cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBROVA_HAL="$generation" -DBROVA_HAL_INCLUDE_DIRS="$(paste -sd';' "$wpilib/include.txt")" \
  -DBROVA_PLATFORM_LIBRARY="$wpilib/lib/libwpiHal.so" -DBROVA_BUILD_TESTS=OFF \
  -DBROVA_BUILD_BENCHMARKS=ON -DBROVA_JAVA=ON >"$build.log" 2>&1 &&
  cmake --build "$build" --target "${targets[@]}" >>"$build.log" 2>&1; then
  echo "$build"
else
  grep -m 10 -A 4 'error' "$build.log" >&2 || tail -20 "$build.log" >&2
  exit 1
fi
