#!/usr/bin/env bash
# Folds the inputs that a fuzzing run found into the committed corpora,
# keeping only those that add coverage:
#   fuzz/merge_corpus.sh BUILD_DIR WORK_DIR [target ...]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
work="$(cd "$2" && pwd)"
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

for target in "${targets[@]}"; do
  committed="$root/fuzz/corpus/$target"
  merged="$work/$target/merged"
  rm -rf "$merged" && mkdir -p "$merged"
  # Regression inputs (crash-*, slow-*) are kept whatever they cover.
  "$build/fuzz/$target" -merge=1 -timeout=10 -rss_limit_mb=2048 "$merged" "$committed" "$work/$target/corpus" \
    > "$work/$target/merge.log" 2>&1
  find "$committed" -type f ! -name 'crash-*' ! -name 'slow-*' ! -name 'leak-*' ! -name 'oom-*' -delete
  cp "$merged"/* "$committed"/ 2>/dev/null || true
  echo "$target: $(find "$committed" -type f | wc -l) files"
done
