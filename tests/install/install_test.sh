#!/bin/sh
# Installs the build into a temporary prefix with `cmake --install` and uses the installed vrk the
# way a user would: from a directory without msgs/, where it must find the templates installed
# beside it, and from a directory whose msgs/ overrides the board header. Also checks that the
# installation holds exactly the program, the templates, the compressed manual page, the README, the
# copyright file and the examples, and that each example still translates to its committed Handel-C file.
#
# usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR VERSION
set -eu
cmake=$1 build=$2 source=$3 version=$4
. "$source/tests/install/common.sh"
make_scratch
prefix=$scratch/prefix

"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; fail "cmake --install $build"; }

# The layout, and nothing else (no tool, library or test binary).
expected_files "$source" share/doc/vrk bin share share/man >"$scratch/expected-files"
file_list "$prefix" >"$scratch/installed-files"
same_files "$scratch/expected-files" "$scratch/installed-files" "installed files differ from the layout"
[ -x "$prefix/bin/vrk" ] || fail "bin/vrk is not executable"
for t in header.txt harp2_h.txt main.txt; do
  same_files "$source/msgs/$t" "$prefix/share/vrk/msgs/$t" "installed template $t"
done
gzip -dc "$prefix/share/man/man1/vrk.1.gz" >"$scratch/vrk.1" || fail "the installed manual page is not gzip-compressed"
same_files "$source/doc/vrk.1" "$scratch/vrk.1" "installed manual page"
check_copyright "$prefix/share/doc/vrk/copyright" "$source"
same_files "$source/README.md" "$prefix/share/doc/vrk/README.md" "installed README"
for f in $(example_files "$source"); do
  same_files "$source/$f" "$prefix/share/doc/vrk/$f" "installed example $f"
done
if command -v man >/dev/null 2>&1; then
  [ "$(man -M "$prefix/share/man" -w vrk)" = "$prefix/share/man/man1/vrk.1.gz" ] ||
    fail "man does not find vrk(1) under $prefix/share/man"
fi

vrk=$prefix/bin/vrk
[ "$("$vrk" --version | head -n 1)" = "vrk $version" ] || fail "vrk --version does not begin with 'vrk $version'"

# From a directory without msgs/: each installed example gives its committed translation, those
# of examples/occam2/ in the occam 2 mode.
mkdir "$scratch/work"
cd "$scratch/work"
for occ in "$prefix"/share/doc/vrk/examples/*.occ "$prefix"/share/doc/vrk/examples/occam2/*.occ; do
  [ -e "$occ" ] || continue
  name=$(basename "$occ" .occ)
  mode=
  case $occ in */occam2/*) mode=--occam2 name=occam2-$name ;; esac
  status=0
  "$vrk" $mode "$occ" "$name.hc" 2>"$name.trace" || status=$?
  [ "$status" -eq 0 ] || fail "example $name: exit status $status"
  committed=${occ%.occ}.hc
  if [ -e "$committed" ]; then same_files "$committed" "$name.hc" "example $name differs from its committed translation"; fi
done

# A marker in the installed header proves that the installed templates are the ones read.
printf '/* installed header */\n' >>"$prefix/share/vrk/msgs/header.txt"
printf 'CHAN OF INT c:\nPAR\n  c ! 1\n  SKIP\n' >par.occ
status=0
"$vrk" par.occ par.hc 2>par.trace || status=$?
[ "$status" -eq 0 ] || fail "par.occ: exit status $status"
expect_translation "$prefix/share/vrk/msgs" 'chan c;\n\npar\n{\nc ! 1;\nskip;\n}  /* par */\n' expected.hc
same_files expected.hc par.hc "translation with the installed templates"
[ "$(head -n 1 vrk.deb)" = "--" ] || fail "vrk.deb does not start with its banner"
[ "$(tail -n 1 vrk.deb)" = "yylex: token 0 <>" ] || fail "vrk.deb does not end with the end-of-input trace line"
[ "$(tail -n 1 par.trace)" = "yylex: token 0 <>" ] || fail "standard error does not end with the end-of-input trace line"

# A msgs/ in the working directory takes precedence, file by file: here only the board header.
mkdir -p "$scratch/board/msgs"
cd "$scratch/board"
printf '/* my board */\n' >msgs/harp2_h.txt
status=0
"$vrk" "$scratch/work/par.occ" par.hc 2>/dev/null || status=$?
[ "$status" -eq 0 ] || fail "board override: exit status $status"
mkdir mixed
cp "$prefix/share/vrk/msgs/header.txt" "$prefix/share/vrk/msgs/main.txt" msgs/harp2_h.txt mixed/
expect_translation mixed 'chan c;\n\npar\n{\nc ! 1;\nskip;\n}  /* par */\n' expected.hc
same_files expected.hc par.hc "a board header in ./msgs must replace the installed one"
[ -e vrk.deb ] || fail "vrk.deb must be written to the working directory, not beside the source"

echo "installed tree at $prefix works"
