#!/usr/bin/env bash
# The README's workflow section shows the example scripts as they are: every
# line of its code blocks is a line of a file in examples/ (the lines of
# ffprobe's output are compared with a real run by workflow_test.sh), every
# command it runs from examples/ exists, and so does every examples/ file it
# names anywhere.
#   readme_test.sh <source dir>
set -uo pipefail
cd "$1" || exit 1

failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
trim() { sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//'; }

section=$(awk '/^## / { on = $0 == "## The whole workflow with public tools" } on' README.md)
[ -n "$section" ] || fail "README.md has no section 'The whole workflow with public tools'"
code=$(printf '%s\n' "$section" | grep '^    ' | trim)
[ "$(printf '%s\n' "$code" | grep -c .)" -ge 10 ] || fail "the section shows fewer than 10 lines of code"
known=$(cat examples/*.sh examples/*.awk examples/*.avs | trim)

checked=0
while IFS= read -r line; do
  [ -n "$line" ] || continue
  case $line in
    examples/*)
      script=${line%% *}
      [ -x "$script" ] || fail "the README runs $script, which is not an executable file" ;;
    video,* | audio,*) ;;
    *)
      grep -qxF -- "$line" <<<"$known" || fail "not a line of examples/: $line" ;;
  esac
  checked=$((checked + 1))
done <<<"$code"

for file in $(grep -o 'examples/[A-Za-z0-9._-]*' README.md | sort -u); do
  [ -f "$file" ] || fail "README.md names $file, which does not exist"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "$checked lines of the README's workflow checked"
