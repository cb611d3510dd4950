#!/usr/bin/env bash
# Builds the Debian package from a build tree that is already built (cpack installs what the
# build made, it compiles nothing) and checks it: the exact list of its files, its control
# fields, and a lintian run without errors or warnings.
# Usage: check_package.sh <build dir> <scratch dir> <version>. Exits 77 (skipped) when the
# Debian tools are not installed.
set -euo pipefail
build=$1
scratch=$2
version=$3

. "$(dirname "$0")/check_support.sh"
require_tools cpack dpkg-deb dpkg-shlibdeps file lintian

rm -rf "$scratch"
cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch.log" 2>&1 ||
  fail "cpack: $(cat "$scratch.log")"
deb=$scratch/zorvo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$scratch")"

# Every file, nothing more: a file left out or one installed by mistake both show here.
expected=$(
  cat <<'LIST'
./usr/bin/Zorvo_3
./usr/share/applications/io.github.zorvo.Zorvo3.desktop
./usr/share/doc/zorvo/changelog.gz
./usr/share/doc/zorvo/copyright
./usr/share/icons/hicolor/128x128/apps/io.github.zorvo.Zorvo3.png
./usr/share/icons/hicolor/16x16/apps/io.github.zorvo.Zorvo3.png
./usr/share/icons/hicolor/256x256/apps/io.github.zorvo.Zorvo3.png
./usr/share/icons/hicolor/32x32/apps/io.github.zorvo.Zorvo3.png
./usr/share/icons/hicolor/48x48/apps/io.github.zorvo.Zorvo3.png
./usr/share/icons/hicolor/64x64/apps/io.github.zorvo.Zorvo3.png
./usr/share/icons/hicolor/scalable/apps/io.github.zorvo.Zorvo3.svg
./usr/share/man/man1/Zorvo_3.1.gz
./usr/share/metainfo/io.github.zorvo.Zorvo3.metainfo.xml
./usr/share/mime/packages/io.github.zorvo.Zorvo3.xml
./usr/share/zorvo/help/Zorvo_d_1.html
LIST
)
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort)
[ "$files" = "$expected" ] || fail "the files differ from the expected list:
$(diff <(echo "$expected") <(echo "$files") || true)"
# Everything belongs to root; the program can be run by everyone, nothing else is executable.
owners=$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')
[ -z "$owners" ] || fail "files not owned by root: $owners"
modes=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' |
  grep -v -e '^-rwxr-xr-x ./usr/bin/Zorvo_3$' -e '^-rw-r--r-- ' || true)
[ -z "$modes" ] || fail "unexpected modes: $modes"

field() { dpkg-deb -f "$deb" "$1"; }
expect_field() {
  [ "$(field "$1")" = "$2" ] || fail "$1 is \"$(field "$1")\", not \"$2\""
}
expect_field Package zorvo
expect_field Version "$version"
expect_field Architecture "$(dpkg --print-architecture)"
expect_field Section math
expect_field Priority optional
field Maintainer | grep -Eq '^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$' || fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
# The names alone, one a line, without versions or alternatives' bars.
depends_names=$(tr ',|' '\n\n' <<<"$depends" | awk 'NF { print $1 }')
# The libraries come from the program's links, in runtime packages only.
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 fonts-liberation; do
  grep -qxF "$library" <<<"$depends_names" || fail "Depends lacks $library: $depends"
done
! grep -q -- '-dev$' <<<"$depends_names" || fail "Depends names a development package: $depends"
description=$(field Description)
synopsis=$(head -n 1 <<<"$description")
grep -Eq '^[a-z].{10,78}$' <<<"$synopsis" || fail "bad synopsis: $synopsis"
grep -q 'Калькулятор' <<<"$description" || fail "the long description has no Russian text"

# lintian as Debian's archive runs it; "running with root privileges" is only advice.
report=$(lintian --fail-on error,warning --display-info "$deb" 2>&1) || fail "lintian:
$report"
grep -E '^[EW]: ' <<<"$report" && fail "lintian reports errors or warnings"
echo "$report"
echo "$(basename "$deb"): $(wc -l <<<"$files") files, control fields and lintian are clean"
