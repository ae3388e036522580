#!/usr/bin/env bash
# Each line of the README's workflow code is a line of examples/, and each examples/ file it
# names exists, its scripts executable.   readme_test.sh <source dir>
set -uo pipefail
cd "$1" || exit 1
trim() { sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//'; }
code=$(awk '/^## / { on = $0 == "## The whole workflow with public tools" } on' README.md |
  grep '^    ' | trim)
faults=$(grep -vE '^(examples/|video,|audio,)' <<<"$code" |
  grep -vxF -f <(cat examples/* | trim | grep .) | sed 's/^/not a line of examples\/: /'
  for f in $(grep -o 'examples/[A-Za-z0-9._-]*' README.md | sort -u); do
    [ -f "$f" ] && [[ $f != *.sh || -x $f ]] || echo "missing or not executable: $f"
  done
  [ "$(grep -c . <<<"$code")" -ge 10 ] || echo "fewer than 10 lines of code in the workflow")
[ -z "$faults" ] || { echo "$faults"; exit 1; }
echo "the README's workflow checked"
