#!/usr/bin/env bash
# Runs a fuzz target over a seed corpus gathered from the project's occam sources.
#
#   tests/fuzz/run_fuzzer.sh [SECONDS [RUNS]] [-- extra libFuzzer flags]
#
# Defaults: 60 seconds or 2,000,000 inputs, whichever ends first. The target is the in-memory
# translation fuzzer, or the one VRK_FUZZER names (build-fuzz/bin/main_path_fuzzer runs the whole
# program over real files). It must have been built (cmake --workflow --preset fuzz). Seeds are
# collected anew on every run from examples/, the test suites and, when present, the conformance
# cases beside the project; inputs the fuzzer finds interesting are kept in build-fuzz/fuzz/corpus
# (build-fuzz/fuzz-<target>/corpus for another target) for the next run, and a failing input is
# written beside it as crash-*, leak-*, timeout-* or oom-*. Exit status: 0 when the run ended
# without a finding.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds=60
runs=2000000
if [ $# -gt 0 ] && [ "$1" != "--" ]; then seconds="$1"; shift; fi
if [ $# -gt 0 ] && [ "$1" != "--" ]; then runs="$1"; shift; fi
if [ $# -gt 0 ] && [ "$1" = "--" ]; then shift; fi

fuzzer="${VRK_FUZZER:-$root/build-fuzz/bin/translate_fuzzer}"
target="$(basename "$fuzzer")"
work="$root/build-fuzz/fuzz"
[ "$target" = translate_fuzzer ] || work="$root/build-fuzz/fuzz-$target"
if [ ! -x "$fuzzer" ]; then
  echo "run_fuzzer: $fuzzer is missing; build it with: cmake --workflow --preset fuzz" >&2
  exit 2
fi
fuzzer="$(cd "$(dirname "$fuzzer")" && pwd)/$target"

# Fresh seeds every time, so that new test cases join without further ado.
rm -rf "$work/seeds"
mkdir -p "$work/seeds" "$work/corpus"
# The in-memory target reads its mode from the first byte (odd: the occam 2 mode), the whole
# program from the last (a file ending in its line feed is a run of the default mode, one more
# byte 0x1a makes it one of the occam 2 mode), so each source is a seed in both modes, and the
# real occam 2 programs of the corpus join in that mode.
n=0
seed() {  # seed MODE FILE, MODE 0 (the default mode) or 1 (the occam 2 mode)
  n=$((n + 1))
  if [ "$target" = translate_fuzzer ]; then
    { printf "\\00$1"; cat "$2"; } >"$work/seeds/seed-$n.occ"
  elif [ "$1" = 1 ]; then
    { cat "$2"; printf '\032'; } >"$work/seeds/seed-$n.occ"
  else
    cp "$2" "$work/seeds/seed-$n.occ"
  fi
}
while IFS= read -r -d '' file; do
  seed 0 "$file"
  seed 1 "$file"
done < <(find "$root/examples" "$root/tests" "$root/../shared/conformance/cases" \
              -name '*.occ' -type f -print0 2>/dev/null)
while IFS= read -r -d '' file; do
  seed 1 "$file"
done < <(find "$root/../shared/corpus/occam" \( -name 'kroc-*.occ' -o -name 'tinycsp-*.occ' \) \
              -type f -print0 2>/dev/null)
echo "run_fuzzer: $target, $n seed files, at most $seconds s or $runs inputs"

cd "$work"
# An input may take 30 s: a replicated PAR of millions of copies takes about a second in the
# optimised build, and over 10 s under the sanitizers on a core shared with other work.
exec "$fuzzer" \
  -max_total_time="$seconds" -runs="$runs" \
  -timeout=30 -rss_limit_mb=2048 -max_len=8192 \
  -dict="$root/tests/fuzz/occam.dict" \
  -artifact_prefix="$work/" -print_final_stats=1 \
  "$@" "$work/corpus" "$work/seeds"
