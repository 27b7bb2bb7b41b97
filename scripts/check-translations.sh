#!/bin/sh
# Fails when an operator text of the sources has no English translation:
# lupdate merges the sources into a copy of the translation file and every
# text it had to add (or whose source changed) is left "unfinished".
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/resources/translations/kestravo_en.ts" "$work/kestravo_en.ts"
cd "$root"
lupdate -silent -locations none -extensions qml,js,cpp,h qml app backend machine devices vision util \
  -ts "$work/kestravo_en.ts" >/dev/null 2>&1
missing=$(grep -c 'type="unfinished"' "$work/kestravo_en.ts" || true)
empty=$(grep -c '<translation></translation>' "$work/kestravo_en.ts" || true)
if [ "$missing" != "0" ] || [ "$empty" != "0" ]; then
  echo "FAIL: $missing texts without an English translation, $empty empty translations:"
  grep -B2 -e 'type="unfinished"' -e '<translation></translation>' "$work/kestravo_en.ts" | grep '<source>' | sed 's/^ */  /'
  exit 1
fi
echo "PASS: every operator text has an English translation"
