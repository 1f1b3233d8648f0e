#!/bin/sh
# Counts, with callgrind, the instructions of one Compose job on the dense
# benchmark composition (bench/dense: 36 bars, 20 calculated generators, 10
# chained variables, 20 output rows), and those of the event sort inside it,
# against the figures recorded in bench/dense/baseline.txt. Instruction counts
# do not depend on the machine's load, unlike times.
# Usage: bench/callgrind_compose.sh ZELVO [FOLDER]
# SORT_FUNCTION names the sort (default sort_events).
zelvo=$1
folder=${2:-$(dirname "$0")/dense}
sort_function=${SORT_FUNCTION:-sort_events}
if ! command -v valgrind > /dev/null; then
  echo "valgrind is not installed (scripts/install-bench-deps installs it)"
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# PROFILE=FILE keeps the callgrind profile.
cp "$folder"/incom.htm "$work"/
[ -f "$folder"/insec.xml ] && cp "$folder"/insec.xml "$work"/
valgrind --tool=callgrind --callgrind-out-file="$work"/profile "$zelvo" --work "$work" compose > /dev/null 2> "$work"/log || {
  echo "the Compose job failed"; cat "$work"/log; exit 1; }
[ -n "$PROFILE" ] && cp "$work"/profile "$PROFILE"
callgrind_annotate --inclusive=yes "$work"/profile > "$work"/inclusive 2> /dev/null
callgrind_annotate "$work"/profile > "$work"/self 2> /dev/null
total=$(awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1; exit }' "$work"/inclusive)
# The sort's inclusive count: the largest of the functions so named.
sorting=$(awk -v name="$sort_function" 'index($0, "::" name "(") { gsub(",", "", $1); if ($1 + 0 > max) max = $1 + 0 }
  END { printf "%.0f\n", max }' "$work"/inclusive)
rest=$((total - sorting))
echo "events: $(($(wc -l < "$work"/outco.rur) - 6)) notes"
echo "top functions by their own instructions:"
awk '/file:function/ { on = 1; getline; next } on && NF == 0 { exit } on { print }' "$work"/self | head -12 |
  sed -e 's/ \[[^]]*\]$//' -e 's|[^ ]*/src/|src/|' | cut -c1-150
baseline_file=$(dirname "$0")/dense/baseline.txt
printf '%-24s %15s %15s %8s\n' "" "instructions" "baseline" "ratio"
if [ -f "$baseline_file" ] && [ "$folder" = "$(dirname "$0")/dense" ]; then
  base_total=$(awk '$1 == "total" { print $2 }' "$baseline_file")
  base_sort=$(awk '$1 == "sort" { print $2 }' "$baseline_file")
  base_rest=$((base_total - base_sort))
  awk -v t="$total" -v s="$sorting" -v r="$rest" -v bt="$base_total" -v bs="$base_sort" -v br="$base_rest" 'BEGIN {
    printf "%-24s %15.0f %15.0f %7.2fx\n", "whole job", t, bt, bt / t
    printf "%-24s %15.0f %15.0f %7.2fx\n", "the sort", s, bs, (s > 0 ? bs / s : 0)
    printf "%-24s %15.0f %15.0f %7.2fx\n", "all but the sort", r, br, br / r
    printf "the sort is %.1f %% of the job (baseline %.1f %%)\n", 100 * s / t, 100 * bs / bt }'
else
  echo "whole job $total, the sort $sorting, all but the sort $rest"
fi
