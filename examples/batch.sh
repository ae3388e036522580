#!/usr/bin/env bash
# Cuts every recording NAME.ts or NAME.m2ts of a folder that has its script
# NAME.avs into NAME-cut.mp4 with examples/workflow.sh, several at a time, each
# with the sarnik options that follow the two arguments (-f 59.94 for video at
# 59.94 fps); the messages of each go to NAME-cut.log. Exits with 1 when any
# recording failed.
#
#   examples/batch.sh folder [jobs, default 2] [more sarnik options]
set -euo pipefail
if [ $# -lt 1 ] || [[ ! ${2:-2} =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 folder [jobs [more sarnik options]]" >&2
  exit 2
fi
[ -d "$1" ] || { echo "$0: no folder $1" >&2; exit 1; }
folder=$1 jobs=${2:-2}
[[ $folder != -* ]] || folder=./$folder
shift $(($# < 2 ? $# : 2))
export workflow
workflow=$(cd "$(dirname "$0")" && pwd)/workflow.sh

# cut_one [OPTION...] RECORDING
cut_one() {
  local rec=${!#} name=${!#%.*}
  if [ ! -f "$name.avs" ]; then
    echo "skipped, no $name.avs: $rec" >&2
  elif "$workflow" "$rec" "$name.avs" "$name-cut.mp4" "${@:1:$#-1}" >"$name-cut.log" 2>&1; then
    echo "done: $name-cut.mp4"
  else
    echo "FAILED: $rec (see $name-cut.log)" >&2
    return 1
  fi
}
export -f cut_one

trap 'echo "$0: some recordings were not cut" >&2; exit 1' ERR
find "$folder" -maxdepth 1 \( -iname '*.ts' -o -iname '*.m2ts' \) -print0 |
  xargs -0 -n 1 -P "$jobs" bash -c 'cut_one "$@"' cut_one "$@"
