#!/bin/sh
# Runs `zelvo compose` of two builds on the same inputs and reports every
# difference in the console text, exit status, outco.rur and outco.mid.
# Usage: bench/compare_compose.sh OLD_ZELVO NEW_ZELVO INPUT...
# An INPUT is a work folder (its incom.htm and insec.xml are used) or a
# composition file (used as incom.htm, with no sequence file). A composition
# with seed 0 takes its seed from the clock: a pair that printed different
# seeds is run again, and left out when the seeds never meet.
old=$1 new=$2
shift 2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
same=0 different=0 skipped=0 clock=0
run() {  # run BINARY FOLDER INPUT
  rm -rf "$2" && mkdir -p "$2"
  if [ -d "$3" ]; then
    cp "$3"/incom.htm "$2"/ 2>/dev/null
    cp "$3"/insec.xml "$2"/ 2>/dev/null
  else
    cp "$3" "$2"/incom.htm
  fi
  timeout "${COMPARE_TIMEOUT:-20}" "$1" --work "$2" compose > "$2"/console.txt 2>&1
  echo $? > "$2"/status
}
for input in "$@"; do
  for attempt in 1 2 3; do
    run "$old" "$scratch"/old "$input"
    run "$new" "$scratch"/new "$input"
    grep -qi 'seed' "$scratch"/old/console.txt || break
    [ "$(grep -i seed "$scratch"/old/console.txt)" = "$(grep -i seed "$scratch"/new/console.txt)" ] && break
  done
  if [ "$(grep -i seed "$scratch"/old/console.txt)" != "$(grep -i seed "$scratch"/new/console.txt)" ]; then
    clock=$((clock + 1))
    continue
  fi
  if [ "$(cat "$scratch"/old/status)" = 124 ] || [ "$(cat "$scratch"/new/status)" = 124 ]; then
    skipped=$((skipped + 1))
    continue
  fi
  if diff -r "$scratch"/old "$scratch"/new > /dev/null; then
    same=$((same + 1))
  else
    different=$((different + 1))
    echo "DIFFERENT: $input"
  fi
done
echo "same $same, different $different, timed out $skipped, clock seeds never met $clock"
[ "$different" = 0 ]
