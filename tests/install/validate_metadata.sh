#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo, and checks that both name the
# program by the same id: validate_metadata.sh <resources dir> <app id>.
# Exits 77 (skipped) when the validators are not installed.
set -euo pipefail
dir=$1
id=$2
desktop=$dir/$id.desktop
metainfo=$dir/$id.metainfo.xml

for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

fail() {
  echo "FAIL: $*"
  exit 1
}

# desktop-file-validate prints hints and warnings too; any output at all is a fault here.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects $metainfo"

# One id everywhere: the icon name, the metainfo id and its launchable.
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's Icon is not $id"
grep -qx "Exec=Zorvo_3" "$desktop" || fail "the desktop entry does not start Zorvo_3"
grep -qx "Categories=Education;Math;Qt;" "$desktop" || fail "unexpected Categories"
for key in 'Name' 'Name\[ru\]' 'Comment' 'Comment\[ru\]'; do
  grep -q "^$key=." "$desktop" || fail "the desktop entry has no $key"
done
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
grep -q '<summary xml:lang="ru">' "$metainfo" || fail "no Russian summary"
grep -q '<p xml:lang="ru">' "$metainfo" || fail "no Russian description"
# Every screenshot that the metainfo shows is one that the project keeps under docs/.
docs=$dir/../docs
grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|<image>.*/docs/\(.*\)</image>|\1|' |
  while read -r shot; do
    [ -f "$docs/$shot" ] || fail "screenshot docs/$shot is missing"
  done
echo "desktop entry and metainfo are valid"
