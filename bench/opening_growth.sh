#!/bin/sh
# The look-ahead's growth with OpeningInt: a melody and a bass of one whole
# note a bar over the demo's chords (one note per unit and line), every tone
# type allowed and the cost weights on, harmonized with OpeningInt = each of
# the given values. Prints the median CPU time (user + system) of RUNS runs
# of the job and, with COUNT=1, callgrind's instruction count of one.
# Usage: bench/opening_growth.sh ZELVO [BARS] [RUNS] VALUE...
zelvo=$1; bars=${2:-8}; runs=${3:-3}; shift 3
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root"/examples/demo/inarm.xml "$work"/
{
  printf 'ZAZAD Output Data\n\n96,4,4,48,12\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n'
  printf 'Inst\tCpin\tCkin\tDur\tNote\tVel\n\n'
  bar=1
  while [ "$bar" -le "$bars" ]; do
    printf '1\t%d\t0\t192\t%d\t90\t\n2\t%d\t0\t192\t%d\t90\t\n' "$bar" $((67 + bar % 5)) "$bar" $((43 + bar % 7))
    bar=$((bar + 1))
  done
} > "$work"/outco.rur
printf '%-10s %12s %16s\n' OpeningInt "CPU (s)" instructions
for value in "$@"; do
  cat > "$work"/conar.txt <<CONF
FirstMusicIns = 1
LastMusicIns = 2
MusicSource = 1
FirstHarmIns = 4
HarmInsNum = 2
MelIns = 1
BassIns = 2
OpeningInt = $value
LinkLimit = 99
NonHarmTonesSortDF = 1, 1, 1, 1, 1, 1, 1, 1
NonHarmTonesCoefDF = 10, 100, 20, 10, 5, 50, 50
CONF
  times=""
  i=0
  while [ "$i" -lt "$runs" ]; do
    /usr/bin/time -o "$work"/time -f '%U %S' "$zelvo" --work "$work" harmonize > "$work"/console ||
      { echo "the job failed"; tail -3 "$work"/console; exit 1; }
    times="$times $(awk '{ print $1 + $2 }' "$work"/time)"
    i=$((i + 1))
  done
  median=$(echo $times | tr ' ' '\n' | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
  count=-
  if [ "${COUNT:-0}" = 1 ]; then
    valgrind --tool=callgrind --callgrind-out-file="$work"/profile "$zelvo" --work "$work" harmonize > /dev/null 2>&1
    count=$(awk '/^totals:/ { print $2 }' "$work"/profile)
  fi
  printf '%-10s %12s %16s\n' "$value" "$median" "$count"
done
