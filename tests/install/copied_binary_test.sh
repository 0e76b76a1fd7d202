#!/bin/sh
# A vrk copied out of its installed tree still finds the templates, through the data directory
# compiled into it. This needs a build configured for the installation prefix, so the script makes
# its own: configure with CMAKE_INSTALL_PREFIX in a temporary directory and without the tests (which
# also shows that a build without GoogleTest works), build only vrk, install, copy the program to a
# directory of its own and run it from a directory without msgs/.
#
# usage: copied_binary_test.sh CMAKE SOURCE_DIR
set -eu
cmake=$1 source=$2
. "$source/tests/install/common.sh"
make_scratch
prefix=$scratch/prefix

"$cmake" -S "$source" -B "$scratch/build" -DCMAKE_INSTALL_PREFIX="$prefix" -DVRK_BUILD_TESTS=OFF \
  >"$scratch/configure.log" 2>&1 || { cat "$scratch/configure.log" >&2; fail "configure without the tests"; }
"$cmake" --build "$scratch/build" --target vrk man_page -j2 >"$scratch/build.log" 2>&1 ||
  { tail -n 40 "$scratch/build.log" >&2; fail "build vrk"; }
"$cmake" --install "$scratch/build" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; fail "cmake --install into $prefix"; }

mkdir "$scratch/elsewhere" "$scratch/work"
cp "$prefix/bin/vrk" "$scratch/elsewhere/vrk"
printf '/* installed header */\n' >>"$prefix/share/vrk/msgs/header.txt"
cd "$scratch/work"
printf 'SKIP\n' >skip.occ
status=0
"$scratch/elsewhere/vrk" skip.occ skip.hc 2>skip.err || status=$?
[ "$status" -eq 0 ] || { cat skip.err >&2; fail "the copied vrk: exit status $status"; }
expect_translation "$prefix/share/vrk/msgs" 'skip;\n' expected.hc
same_files expected.hc skip.hc "the copied vrk must use the templates installed under $prefix"
"$scratch/elsewhere/vrk" --help | grep -qF "$prefix/share/vrk/msgs" || fail "--help does not name $prefix/share/vrk/msgs"

echo "a copy of vrk finds the templates installed under $prefix"
