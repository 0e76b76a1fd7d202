#!/bin/sh
# Builds the Debian package of the build tree with cpack, lists it with dpkg-deb and checks that
# it holds exactly the installed layout under /usr, with a control file naming the package, its
# version and the vrk project as maintainer. Then unpacks it and runs the packaged vrk from a
# directory without msgs/, where it must find the packaged templates.
#
# usage: package_test.sh CPACK BUILD_DIR SOURCE_DIR VERSION
# Exits with 77 (skipped) when dpkg-deb is not available.
set -eu
cpack=$1 build=$2 source=$3 version=$4
. "$source/tests/install/common.sh"
command -v dpkg-deb >/dev/null 2>&1 || { echo "dpkg-deb not found: skipped"; exit 77; }
make_scratch

# cpack stages the installation under its package directory, so parallel runs do not meet.
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB"; }
set -- "$scratch"/out/vrk_"$version"-1_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || { ls -l "$scratch/out" >&2; fail "expected one package vrk_$version-1_<arch>.deb"; }
deb=$1

dpkg-deb -c "$deb" >"$scratch/contents"
cat "$scratch/contents"
# Regular files only ("-" in the mode column); the path is the sixth column, "./usr/...".
awk '$1 ~ /^-/ { sub(/^\.\/usr\//, "", $6); print $6 }' "$scratch/contents" | LC_ALL=C sort >"$scratch/packaged-files"
expected_files "$source" share/doc/vrk bin share share/man >"$scratch/expected-files"
same_files "$scratch/expected-files" "$scratch/packaged-files" "package contents differ from the layout under /usr"
awk '$1 ~ /^-/ && $2 != "root/root" { bad = 1; print } END { exit bad }' "$scratch/contents" >&2 ||
  fail "every packaged file must belong to root"
grep -Eq '^-rwxr-xr-x .* \./usr/bin/vrk$' "$scratch/contents" || fail "usr/bin/vrk must be mode 755"
if awk '{ print $6 }' "$scratch/contents" | grep -v '^\./usr/' | grep -qv '^\./$'; then
  fail "the package installs outside /usr"
fi

[ "$(dpkg-deb -f "$deb" Package)" = vrk ] || fail "Package field"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "Version field"
dpkg-deb -f "$deb" Maintainer | grep -q 'vrk project' || fail "Maintainer must name the vrk project"
dpkg-deb -f "$deb" Depends | grep -q 'libstdc++' || fail "Depends must name the C++ runtime"

dpkg-deb -x "$deb" "$scratch/root"
check_copyright "$scratch/root/usr/share/doc/vrk/copyright" "$source"
gzip -dc "$scratch/root/usr/share/man/man1/vrk.1.gz" | cmp -s - "$source/doc/vrk.1" ||
  fail "the packaged manual page is not the compressed vrk.1"

# The packaged program finds the packaged templates relative to itself.
mkdir "$scratch/work"
cd "$scratch/work"
printf 'SKIP\n' >skip.occ
status=0
"$scratch/root/usr/bin/vrk" skip.occ skip.hc 2>/dev/null || status=$?
[ "$status" -eq 0 ] || fail "packaged vrk: exit status $status"
expect_translation "$source/msgs" 'skip;\n' expected.hc
same_files expected.hc skip.hc "translation by the packaged vrk"

echo "package $(basename "$deb") is complete"
