# Helpers shared by the installation tests (sourced, not run).
#
# Each test works in a directory of its own under $TMPDIR, removed on exit, so the tests can run
# in parallel with each other and with the rest of the suite.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# make_scratch: sets $scratch to a fresh directory that is removed when the script exits.
make_scratch() {
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/vrk-install-test.XXXXXX")
  trap 'rm -rf "$scratch"' EXIT
}

# expect_translation TEMPLATE_DIR BODY FILE: writes to FILE what vrk produces for a program whose
# translation is BODY (backslash escapes allowed), with the templates of TEMPLATE_DIR: the two headers, the
# CONSTs area with the boolean constants, the opening of main, the body and the closing of main.
expect_translation() {
  {
    cat "$1/header.txt" "$1/harp2_h.txt"
    printf '\n/* CONSTs area */\n\nconst TRUE = 1;\nconst FALSE = 0;\n\n'
    cat "$1/main.txt"
    printf '%b' "$2"
    printf '\n\n}  /* main */\n'
  } >"$3"
}

# same_files A B WHAT: fails unless the two files are byte for byte equal, showing the difference.
same_files() {
  if ! cmp -s "$1" "$2"; then
    diff -u "$1" "$2" >&2 || true
    fail "$3"
  fi
}

# check_copyright FILE SOURCE_DIR: FILE is a copyright file in the Debian format that carries the
# project's MIT licence (Expat, in Debian's words) with every line of its conditions.
check_copyright() {
  grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$1" ||
    fail "$1 is not in the Debian copyright format"
  grep -q '^License: Expat$' "$1" || fail "$1 does not name the Expat (MIT) licence"
  tail -n +5 "$2/LICENSE" | sed 's/^$/./; s/^/ /' >"$scratch/license-paragraph"
  grep -vxF -f "$1" "$scratch/license-paragraph" >"$scratch/missing-lines" || true
  [ ! -s "$scratch/missing-lines" ] || { cat "$scratch/missing-lines" >&2; fail "$1 lacks lines of LICENSE"; }
}

# file_list DIR: the regular files under DIR, one relative path a line, sorted.
file_list() {
  (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
}

# expected_files SOURCE_DIR DOC_PREFIX BIN_PREFIX DATA_PREFIX MAN_PREFIX: the files an installation
# holds, sorted: the program, the three templates, the compressed manual page, the README, the
# copyright file, and each example with its translation (those of the occam 2 mode in examples/occam2/).
expected_files() {
  {
    echo "$3/vrk"
    for t in header.txt harp2_h.txt main.txt; do echo "$4/vrk/msgs/$t"; done
    echo "$5/man1/vrk.1.gz"
    echo "$2/README.md"
    echo "$2/copyright"
    for f in $(example_files "$1"); do echo "$2/$f"; done
  } | LC_ALL=C sort
}

# example_files SOURCE_DIR: each example and its translation, as a path under SOURCE_DIR.
example_files() {
  for f in "$1"/examples/*.occ "$1"/examples/*.hc "$1"/examples/occam2/*.occ "$1"/examples/occam2/*.hc; do
    if [ -e "$f" ]; then echo "${f#"$1"/}"; fi
  done
}
