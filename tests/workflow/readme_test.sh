#!/usr/bin/env bash
# The README's workflow section shows the examples as they are: each line of
# its code blocks is a line of a file in examples/ (ffprobe's lines are
# compared with a real run by workflow_test.sh), each examples/ command it
# runs is executable, and each examples/ file it names exists.
#   readme_test.sh <source dir>
set -uo pipefail
cd "$1" || exit 1
failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
trim() { sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//'; }
code=$(awk '/^## / { on = $0 == "## The whole workflow with public tools" } on' README.md | grep '^    ' | trim)
[ "$(grep -c . <<<"$code")" -ge 10 ] || fail "the workflow section shows fewer than 10 lines of code"
known=$(cat examples/*.sh examples/*.awk examples/*.avs | trim)
while IFS= read -r line; do
  case $line in
    "" | video,* | audio,*) ;;
    examples/*) [ -x "${line%% *}" ] || fail "the README runs ${line%% *}, which is not executable" ;;
    *) grep -qxF -- "$line" <<<"$known" || fail "not a line of examples/: $line" ;;
  esac
done <<<"$code"
for file in $(grep -o 'examples/[A-Za-z0-9._-]*' README.md | sort -u); do
  [ -f "$file" ] || fail "README.md names $file, which does not exist"
done
[ "$failures" -eq 0 ] && echo "the README's workflow checked"
