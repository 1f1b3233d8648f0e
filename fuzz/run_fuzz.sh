#!/usr/bin/env bash
# Fuzzes each target for SECONDS:
#   fuzz/run_fuzz.sh BUILD_DIR SECONDS WORK_DIR [target ...]
# Each target starts from its committed corpus (fuzz/corpus/<target>) plus
# what earlier runs in WORK_DIR found; new inputs stay in WORK_DIR/<target>/
# corpus, crash inputs go to WORK_DIR/<target>/artifacts. One line per
# target is added to WORK_DIR/summary.txt. Exit status 1 when any target
# found a fault. FUZZ_TIMEOUT (seconds, default 10) is the longest one input
# may run before it counts as a fault. FUZZ_JOBS (default 1) targets run at
# once, each on a core of its own: every target still gets its SECONDS.
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
jobs="${FUZZ_JOBS:-1}"

# Fuzzes one target; exit status 1 when it found a fault. What it prints is
# written in one piece at the end, so that targets running at once do not
# mix their lines.
fuzz_one() {
  local target=$1 dir="$work/$1" log rc runs found report
  mkdir -p "$dir/corpus" "$dir/artifacts"
  log="$dir/fuzz-$(date +%Y%m%d-%H%M%S).log"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-10}" -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/" \
    "$dir/corpus" "$root/fuzz/corpus/$target" > "$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || true)
  # Slow units (slow-unit-*) are noted in the log; faults are the rest.
  found=$(find "$dir/artifacts" -type f ! -name 'slow-unit-*' | wc -l)
  report="$target seconds=$seconds executions=${runs:-?} exit=$rc artifacts=$found log=$log"
  echo "$report" >> "$work/summary.txt"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    report+=$'\n'$(grep -m1 -A12 -E '^==[0-9]+==ERROR|runtime error|deadly signal|timeout' "$log" || tail -20 "$log")
    echo "$report"
    return 1
  fi
  echo "$report"
}

status=0
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  fuzz_one "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
