#!/usr/bin/env bash
# Cuts every recording NAME.ts of a folder that has its script NAME.avs into
# NAME-cut.mp4 with examples/workflow.sh, several at a time; the messages of
# each go to NAME-cut.log. Exits with 1 when any recording failed.
#
#   examples/batch.sh folder [jobs, default 2]
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 folder [jobs]" >&2
  exit 2
fi
folder=$1 jobs=${2:-2}
export workflow
workflow=$(cd "$(dirname "$0")" && pwd)/workflow.sh

cut_one() {
  local rec=$1 name=${1%.*}
  if [ ! -f "$name.avs" ]; then
    echo "skipped, no $name.avs: $rec" >&2
  elif "$workflow" "$rec" "$name.avs" "$name-cut.mp4" >"$name-cut.log" 2>&1; then
    echo "done: $name-cut.mp4"
  else
    echo "FAILED: $rec (see $name-cut.log)" >&2
    return 1
  fi
}
export -f cut_one

trap 'echo "$0: some recordings were not cut" >&2; exit 1' ERR
find "$folder" -maxdepth 1 -iname '*.ts' -print0 |
  xargs -0 -n 1 -P "$jobs" bash -c 'cut_one "$1"' cut_one
