#!/usr/bin/env bash
# Measures the library on the simulated platform and writes docs/performance.md: commands
# against the bare platform send, queries and readings beyond their pause, keep-alive spacing
# under load, the objects' telemetry refresh, the JNI crossing, memory, and, where WPILib's
# snapshots are (../shared/wpilib), eight controllers in WPILib's desktop simulation. Takes about
# four minutes (more the first time WPILib's HAL is built).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target brova_bench brova_devices_bench brova_keepalive_bench \
  brova_memory_bench brovaJavaBench >/dev/null

out=build/performance
mkdir -p "$out"
echo "Benchmarks (commands, queries, analog readings)..."
build/default/bench/brova_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
  --benchmark_format=json --benchmark_out="$out/bench.json" --benchmark_out_format=json >/dev/null
echo "Telemetry refresh of open devices, and twenty open devices..."
build/default/bench/brova_devices_bench --benchmark_format=json --benchmark_out="$out/devices.json" \
  --benchmark_out_format=json >/dev/null
echo "Keep-alive spacing over 30 s with every core loaded..."
build/default/bench/brova_keepalive_bench 30 "$(nproc)" >"$out/keepalive.txt"
echo "Memory..."
build/default/bench/brova_memory_bench >"$out/memory.txt"
echo "JNI crossing..."
cmake --build --preset default --target java_bench | grep '_ns ' >"$out/jni.txt"
cmake --build --preset default --target java_objects_bench | grep -E '^objects_|^jni_' |
  sed 's/^jni_/objects_jni_/' >>"$out/jni.txt"

rm -f "$out"/wpilib-*.json
if [[ -n $(scripts/wpilib-hal.sh --where) ]]; then
  for tag in v2026.2.2 v2027.0.0-alpha-6; do
    echo "Eight controllers in WPILib $tag's simulation..."
    scripts/wpilib-hal.sh "$tag" >/dev/null
    build=$(scripts/wpilib-driver.sh "$tag" brova_wpilib_bench)
    LD_LIBRARY_PATH="build/wpilib/$tag/lib:$build/platform/wpilibsim" "$build/bench/brova_wpilib_bench" \
      --benchmark_format=json --benchmark_out="$out/wpilib-$tag.json" --benchmark_out_format=json >/dev/null
  done
else
  echo "No WPILib snapshots (../shared/wpilib): the simulation on WPILib's HAL is not measured"
fi

# Written beside the measurements first: the report keeps the hand-measured sections of the
# current docs/performance.md (the simulated platform's memory over a long run).
python3 scripts/performance_report.py "$out" docs/performance.md >"$out/performance.md"
mv "$out/performance.md" docs/performance.md
echo "Wrote docs/performance.md"
