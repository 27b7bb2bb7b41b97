#!/usr/bin/env bash
# Checks that no source folder includes a folder above it.
#   check-layering.sh SOURCE_DIR FOLDER=USED1,USED2 ...
# One argument per layered folder: the folders it may include besides itself.
# Prints one compiler-style line per offending include and fails if any.
set -uo pipefail
src=$1
shift
declare -A allowed
folders=()
for rule in "$@"; do
  folder=${rule%%=*}
  allowed[$folder]=${rule#*=}
  folders+=("$folder")
done

status=0
for folder in "${folders[@]}"; do
  while IFS=: read -r file line text; do
    used=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"/]*\)\/.*/\1/p' <<<"$text")
    # Only the layered folders count (a generated .moc has no folder).
    [[ -n $used && -n ${allowed[$used]+x} && $used != "$folder" ]] || continue
    case ",${allowed[$folder]}," in *",$used,"*) continue ;; esac
    rules=${allowed[$folder]:-nothing}
    echo "${file#"$src"/}:$line: error: layering: $folder/ may include only ${rules//,/, } besides itself," \
         "not $used/ (${text#*#include })" >&2
    status=1
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' "$src/$folder")
done
if [[ $status -ne 0 ]]; then
  echo "Upward includes found: move the shared piece into util/ or pass it in from the folder above." >&2
fi
exit $status
