#!/usr/bin/env bash
# Holds the library against WPILib's own HAL, built from the source snapshots in ../shared/wpilib
# by scripts/wpilib-hal.sh, for both HAL generations (2026.2.2 and 2027.0.0-alpha-6):
#   1. the declarations: every function, struct, enum, typedef and macro of platform/hal reads
#      the same as in WPILib's header of that name;
#   2. the driver, libBrovaDriver.so, builds against WPILib's headers and links against WPILib's
#      libwpiHal.so;
#   3. the packaged linuxx86-64 drivers (build/maven, build/vendordeps: scripts/package.sh) run
#      over WPILib's simulation HAL: C entry points, C++ objects and Java objects read a test
#      responder registered on the simulation's CAN callbacks, and the keep-alive follows the
#      simulated Driver Station.
# Where the snapshots are absent it says so and skips these (exit 0); the declaration check's own
# test runs either way.
#
#   scripts/wpilib-checks.sh     needs the packaging done (scripts/package.sh); runs it if not
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# The declaration check's own test needs no WPILib: it runs wherever clang does.
/usr/bin/python3 scripts/test-check-hal-declarations.py

if [[ -z $(scripts/wpilib-hal.sh --where) ]]; then
  echo "wpilib-checks.sh: no WPILib snapshots (../shared/wpilib); the checks against WPILib's HAL are skipped"
  exit 0
fi
scripts/wpilib-hal.sh

# tag  generation  our headers            WPILib's folder of them  vendordep file
releases=(
  "v2026.2.2 2026 platform/hal/include BrovaDriver-2026.json"
  "v2027.0.0-alpha-6 2027 platform/hal/2027/include BrovaDriver-2027_alpha5.json"
)

failed=0
step() { echo "== wpilib: $*"; }

for release in "${releases[@]}"; do
  read -r tag generation ours vendordep <<<"$release"
  wpilib=$root/build/wpilib/$tag
  mapfile -t includes <"$wpilib/include.txt"
  extra=()
  for dir in "${includes[@]:1}"; do extra+=(-I "$dir"); done

  step "$tag: declarations of $ours against WPILib's headers"
  /usr/bin/python3 scripts/check-hal-declarations.py --generation "$tag" --ours "$ours" \
    --theirs "${includes[0]}" "${extra[@]}" || failed=1

  step "$tag: the driver, the device models and the demo build against WPILib's headers and link against its libwpiHal.so"
  if build=$(scripts/wpilib-driver.sh "$tag"); then
    echo "built $build/brovaDriver/libBrovaDriver.so, $build/platform/wpilibsim/libBrovaDriverSim.so"
    step "$tag: the demo on WPILib's simulation HAL, its devices answered by the device models"
    if demo_output=$(LD_LIBRARY_PATH="$wpilib/lib:$build/platform/wpilibsim" \
      "$build/demo/brova-demo-wpilib" --seconds 2 2>&1); then
      # The last readings printed: fifteen lines (two BrovaQuads of five, the BrovaSmall, the
      # board's four inputs), each fresh.
      last=$(awk '/^t=/ { n = 0; next } /^Robot disabled/ { exit } { line[++n] = $0 }
        END { for (i = 1; i <= n; i++) print line[i] }' <<<"$demo_output")
      if [[ $(grep -c "fresh" <<<"$last") -ne 15 ]] || grep -q -- " -- \|not answering" <<<"$last"; then
        echo "$demo_output" | tail -30
        echo "the demo's devices did not all answer"
        failed=1
      else
        echo "$demo_output" | sed -n '1,6p'
        echo "..."
      fi
    else
      echo "$demo_output" | tail -30
      failed=1
    fi
  else
    failed=1
  fi

  step "$tag: the packaged linuxx86-64 drivers over WPILib's simulation HAL"
  [[ -f build/vendordeps/$vendordep ]] || scripts/package.sh
  /usr/bin/python3 scripts/consume-package.py "build/vendordeps/$vendordep" build/maven \
    --wpilib "$wpilib" || failed=1
done

if ((failed)); then
  echo "wpilib-checks.sh: a check against WPILib's HAL failed (above)"
  exit 1
fi
echo "wpilib-checks.sh: every check against WPILib's HAL passed"
