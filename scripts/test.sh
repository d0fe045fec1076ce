#!/usr/bin/env bash
# Builds the library and runs every test: the normal build (C++ and Java), the address+undefined
# and the thread sanitizer builds, the extended build (clang, sanitizers, a bounded run of each
# fuzzer), the aarch64 build (the robot controller's processor; its tests run under qemu-user)
# and the build against the 2027 HAL (C++ and Java); then the packaging: the Maven repository and
# vendordep files (scripts/package.sh), their checker, the checker's own test, and the robot
# programs built from the packaged artifacts alone; last the checks against WPILib's own HAL, built
# from ../shared/wpilib (scripts/wpilib-checks.sh: declarations, the driver built against WPILib's
# headers, the packaged drivers over its simulation HAL; skipped where the snapshots are absent).
# Installs what is missing first.
#   scripts/test.sh            all six builds, the packaging and the WPILib checks
#   scripts/test.sh default    only the named presets ("package" for the packaging, "wpilib" for
#                              the WPILib checks, which need the packaging done)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

presets=("$@")
((${#presets[@]})) || presets=(default asan tsan extended arm64 hal2027 package wpilib)
# The packaging and its checks; the repository and the vendordep files stay in build/.
package() {
  scripts/package.sh
  local jsons=(build/vendordeps/BrovaDriver-2027_alpha5.json build/vendordeps/BrovaDriver-2027.json
    build/vendordeps/BrovaDriver-2026.json)
  /usr/bin/python3 scripts/check-package.py build/maven "${jsons[@]}"
  /usr/bin/python3 scripts/test-check-package.py build/maven "${jsons[@]}"
  /usr/bin/python3 scripts/consume-package.py "${jsons[0]}" build/maven \
    build/package/x86-64-2027/platform/sim
}

for preset in "${presets[@]}"; do
  echo "== $preset"
  if [[ $preset == package ]]; then
    package
    continue
  fi
  if [[ $preset == wpilib ]]; then
    scripts/wpilib-checks.sh
    continue
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
