#!/usr/bin/env bash
# Validates the desktop entry, the AppStream metainfo and the formula file type, and checks
# that they name the program and the type alike: validate_metadata.sh <resources dir> <app id>.
# Exits 77 (skipped) when the validators are not installed.
set -euo pipefail
dir=$1
id=$2
desktop=$dir/$id.desktop
metainfo=$dir/$id.metainfo.xml
mime=$dir/$id.mime.xml
type=application/x-zorvo-formula

. "$(dirname "$0")/check_support.sh"
require_tools desktop-file-validate appstreamcli xmllint update-mime-database

# desktop-file-validate prints hints and warnings too; any output at all is a fault here.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects $metainfo"

# One id everywhere: the icon name, the metainfo id and its launchable.
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's Icon is not $id"
grep -qx "Exec=Zorvo_3 %f" "$desktop" || fail "the desktop entry does not start Zorvo_3 with the file"
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

# The formula file type. update-mime-database skips what it does not understand without a
# word, so the database it builds (beside the freedesktop types, when they are installed) is
# read back: a *.frm name finds this type and no other, as a kind of text/plain, with its
# English and Russian comments.
xmllint --noout "$mime" || fail "$mime is not well-formed XML"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/mime/packages"
cp "$mime" "$scratch/mime/packages/$id.xml"
base=/usr/share/mime/packages/freedesktop.org.xml
[ -f "$base" ] && cp "$base" "$scratch/mime/packages/"
update-mime-database "$scratch/mime" >/dev/null 2>&1 || fail "update-mime-database failed"
# The types of the highest weight among the globs that match a name (weight:type:pattern).
glob_query() {
  local name=$1 weight type pattern best=-1 types=""
  while IFS=: read -r weight type pattern _; do
    case $weight in '' | \#*) continue ;; esac
    # shellcheck disable=SC2053 # the pattern is a glob
    if [[ ${name,,} == ${pattern,,} ]]; then
      if ((weight > best)); then
        best=$weight
        types=$type
      elif ((weight == best)); then
        types="$types $type"
      fi
    fi
  done <"$scratch/mime/globs2"
  echo "$types"
}
for name in Sine.frm "with blanks.frm" UPPER.FRM; do
  found=$(glob_query "$name")
  [ "$found" = "$type" ] || fail "\"$name\" is of type \"$found\", not $type"
done
[ -z "$(glob_query sine.txt.bak | grep -w "$type")" ] || fail "$type claims sine.txt.bak"
grep -qx "$type text/plain" "$scratch/mime/subclasses" || fail "$type is not a kind of text/plain"
grep -q '<comment>.' "$scratch/mime/$type.xml" || fail "$type has no English comment"
grep -q '<comment xml:lang="ru">.' "$scratch/mime/$type.xml" || fail "$type has no Russian comment"
grep -qx "MimeType=$type;" "$desktop" || fail "the desktop entry does not open $type"
grep -q "<mediatype>$type</mediatype>" "$metainfo" || fail "the metainfo does not name $type"
echo "desktop entry, metainfo and formula file type are valid"
