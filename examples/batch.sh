#!/usr/bin/env bash
# Cuts every recording NAME.ts of a folder that has its script NAME.avs,
# several at a time, into NAME-cut.mp4.
#
#   examples/batch.sh folder [jobs, default 2]
set -euo pipefail
folder=$1 jobs=${2:-2}
here=$(cd "$(dirname "$0")" && pwd)
find "$folder" -maxdepth 1 -name '*.ts' -print0 |
  xargs -0 -P "$jobs" -I{} bash -c '
    ts=$1; avs=${ts%.ts}.avs
    [ -f "$avs" ] || { echo "no script for $ts" >&2; exit 0; }
    "$0/workflow.sh" "$ts" "$avs" "${ts%.ts}-cut.mp4" > "${ts%.ts}-cut.log"
    echo "done: ${ts%.ts}-cut.mp4"' "$here" {}
