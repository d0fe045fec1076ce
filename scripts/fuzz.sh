#!/usr/bin/env bash
# Runs each fuzzer for longer than the test suite does.
#   scripts/fuzz.sh [seconds per fuzzer, default 600]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}

scripts/install-deps.sh
cmake --preset extended >/dev/null
cmake --build --preset extended --target ReplyFuzzer AnalogFuzzer JniConversionFuzzer
for fuzzer in ReplyFuzzer AnalogFuzzer JniConversionFuzzer; do
  corpus=build/extended/fuzz/corpus/$fuzzer
  mkdir -p "$corpus"
  echo "== $fuzzer for ${seconds}s"
  build/extended/fuzz/$fuzzer -max_total_time="$seconds" -print_final_stats=1 "$corpus"
done
