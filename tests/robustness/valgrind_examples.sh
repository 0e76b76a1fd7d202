#!/usr/bin/env bash
# Runs the vrk program under valgrind on every example program (those of examples/occam2/ in the
# occam 2 mode): any memory error, any leak or a translation that is not accepted fails the check.
#
#   tests/robustness/valgrind_examples.sh [VRK]     (default: build/bin/vrk)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
vrk="$(realpath "${1:-$root/build/bin/vrk}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failed=0
for source in "$root"/examples/*.occ "$root"/examples/occam2/*.occ; do
  [ -e "$source" ] || continue
  name="$(basename "$source" .occ)"
  mode=()
  case "$source" in */occam2/*) mode=(--occam2); name="occam2-$name" ;; esac
  if (cd "$work" && valgrind -q --error-exitcode=1 --leak-check=full --log-file="$name.valgrind" \
        "$vrk" "${mode[@]}" "$source" "$name.hc" 2>/dev/null); then
    echo "valgrind: $name clean"
  else
    echo "valgrind: $name FAILED (status $?)"
    cat "$work/$name.valgrind"
    failed=1
  fi
done
exit $failed
