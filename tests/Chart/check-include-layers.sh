#!/usr/bin/env bash
# Fails when a file of the chart library includes a header from a room above
# its own, or when the data model and the components include each other.
# The rooms, from the top: Views, Highlight, Renderers, then Components and
# Data side by side, then Interfaces, then Utils. A file at the library's top
# (the external names) may include any room.
set -euo pipefail
root=${1:?usage: check-include-layers.sh SRC_DIR}/Chart

rank() {
  case "$1" in
    Views) echo 6 ;; Highlight) echo 5 ;; Renderers) echo 4 ;;
    Components | Data) echo 3 ;; Interfaces) echo 2 ;; Utils) echo 1 ;;
    *) echo 9 ;;
  esac
}

bad=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  header=$(sed -E 's/.*#include "Chart\/([^"]*)".*/\1/' <<<"${rest#*:}")
  relative=${file#"$root"/}
  from=${relative%%/*}
  to=${header%%/*}
  [[ $relative == */* ]] || continue  # top-level files
  [[ $from == "$to" ]] && continue
  if (($(rank "$to") >= $(rank "$from"))); then
    echo "src/Chart/$relative:$line: $from includes Chart/$header from a room at or above its own" >&2
    bad=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"Chart/' "$root" --include='*.h' --include='*.cpp')

if ((bad)); then exit 1; fi
echo "chart include layers: every include points down"
