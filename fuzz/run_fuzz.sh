#!/usr/bin/env bash
# Fuzzes each target for SECONDS, one after another:
#   fuzz/run_fuzz.sh BUILD_DIR SECONDS WORK_DIR [target ...]
# Each target starts from its committed corpus (fuzz/corpus/<target>) plus
# what earlier runs in WORK_DIR found; new inputs stay in WORK_DIR/<target>/
# corpus, crash inputs go to WORK_DIR/<target>/artifacts. One line per
# target is added to WORK_DIR/summary.txt. Exit status 1 when any target
# found a fault. FUZZ_TIMEOUT (seconds, default 10) is the longest one input
# may run before it counts as a fault.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
seconds="$2"
mkdir -p "$3"
work="$(cd "$3" && pwd)"
shift 3
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

status=0
for target in "${targets[@]}"; do
  dir="$work/$target"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  log="$dir/fuzz-$(date +%Y%m%d-%H%M%S).log"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-10}" -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/" \
    "$dir/corpus" "$root/fuzz/corpus/$target" > "$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || true)
  # Slow units (slow-unit-*) are noted in the log; faults are the rest.
  found=$(find "$dir/artifacts" -type f ! -name 'slow-unit-*' | wc -l)
  line="$target seconds=$seconds executions=${runs:-?} exit=$rc artifacts=$found log=$log"
  echo "$line" | tee -a "$work/summary.txt"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    status=1
    grep -m1 -A12 -E '^==[0-9]+==ERROR|runtime error|deadly signal|timeout' "$log" || tail -20 "$log"
  fi
done
exit $status
