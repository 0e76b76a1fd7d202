#!/bin/sh
# The manual page renders without warnings, has the sections a user looks for, carries the
# project's version, and documents every error banner that the translator can write into its
# output (the banners are taken from the banner table, so a new one cannot go undocumented); the
# README lists them too.
#
# usage: man_page_test.sh SOURCE_DIR VERSION
# Exits with 77 (skipped) when neither man nor groff is available.
set -eu
source=$1 version=$2
. "$source/tests/install/common.sh"
page=$source/doc/vrk.1
make_scratch

if command -v groff >/dev/null 2>&1; then
  groff -man -Tutf8 -ww -z "$page" 2>"$scratch/warnings"
  [ ! -s "$scratch/warnings" ] || { cat "$scratch/warnings" >&2; fail "groff warns about vrk.1"; }
fi
if command -v man >/dev/null 2>&1; then
  MANWIDTH=80 man -l "$page" >"$scratch/rendered" 2>"$scratch/man.log" || { cat "$scratch/man.log" >&2; fail "man -l vrk.1"; }
elif command -v groff >/dev/null 2>&1; then
  groff -man -Tutf8 -P-cbou "$page" >"$scratch/rendered"
else
  echo "neither man nor groff found: skipped"
  exit 77
fi

for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'ACCEPTED OCCAM' 'NOT SUPPORTED' FILES 'EXIT STATUS' \
  DIAGNOSTICS EXAMPLES BUGS AUTHORS 'SEE ALSO'; do
  grep -q "^$section\$" "$scratch/rendered" || fail "vrk.1 has no section $section"
done
# Rendered lines are filled and hyphenated, so look for phrases in the text joined into one line.
tr -s ' \n' '  ' <"$scratch/rendered" >"$scratch/joined"
for phrase in 'vrk [option]... source output' '-o, --output=output' '-q, --quiet' '--log=file' '--no-log' \
  '--templates=dir' '--graph=file' '-h, --help' '-V, --version' 'source:line:column: error: syntax error near' 'msgs/header.txt' 'msgs/harp2_h.txt' 'msgs/main.txt' 'vrk.deb' \
  'yylex: token code <lexeme>' 'ERROR <syntax error> near <lexeme> on line n' \
  'ERROR <line longer than 253 characters> on line n'; do
  grep -qF -- "$phrase" "$scratch/joined" || fail "vrk.1 does not mention '$phrase'"
done
grep -q "^\\.TH VRK 1 \"[^\"]*\" \"vrk $version\"" "$page" || fail "vrk.1 does not carry version $version"

# Every banner text of the translator's banner table, as far as its first escape.
grep -hoE '#{4,5} Error: [^"\\]*' "$source/output/banners.def" | LC_ALL=C sort -u >"$scratch/banners"
[ "$(wc -l <"$scratch/banners")" -ge 10 ] || fail "found only $(wc -l <"$scratch/banners") banners in the sources"
sed 's/\\e/\\/g' "$page" >"$scratch/page-text"
while IFS= read -r banner; do
  grep -qF -- "$banner" "$scratch/page-text" || fail "vrk.1 does not document the banner '$banner'"
  grep -qF -- "$banner" "$source/README.md" || fail "README.md does not list the banner '$banner'"
done <"$scratch/banners"

echo "vrk.1 renders and documents $(wc -l <"$scratch/banners") banners"
