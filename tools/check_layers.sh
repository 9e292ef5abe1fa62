#!/usr/bin/env bash
# The folders of src/ form a ladder: a file may include headers of its own
# folder and of the folders below it, never of a folder above. The ladder is
# written once, here, lowest floor first; the README's Layout section says it
# in words. Exits 1 and names every include that climbs.
set -euo pipefail
cd "$(dirname "$0")/.."

LADDER=(base model input soil transfer pile group echo summary results capstiffness plate cap analysis run)

declare -A floor
for i in "${!LADDER[@]}"; do floor[${LADDER[$i]}]=$i; done

bad=0
for dir in src/*/; do
  name=$(basename "$dir")
  if [ -z "${floor[$name]+x}" ]; then
    echo "src/$name/ is not on the ladder (tools/check_layers.sh)"
    bad=1
    continue
  fi
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
    [ -z "${floor[$target]+x}" ] && continue
    if [ "${floor[$target]}" -gt "${floor[$name]}" ]; then
      echo "$file:$line: $name includes $target, a higher floor: $text"
      bad=1
    fi
  done < <(grep -nH -E '^#include "[a-z_]+/' "$dir"* 2>/dev/null || true)
done
if [ "$bad" -ne 0 ]; then
  echo "Includes climb the ladder: ${LADDER[*]}"
  exit 1
fi
echo "layers: every include stays on its floor or goes down (${LADDER[*]})"
