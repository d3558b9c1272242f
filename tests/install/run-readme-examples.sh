#!/usr/bin/env bash
# Runs the kesto-cli examples of README.md, so the README cannot drift from the
# program: every line of the ```sh blocks in its "Command-line tool" section, in
# order, in one shell in an empty temporary folder, with BIN_DIR first on PATH.
# A line must exit 0, or N when it ends with the comment "# exit N".
#
#   run-readme-examples.sh README.md BIN_DIR
set -uo pipefail
readme=$(realpath "$1")
export PATH=$(realpath "$2"):$PATH

lines=$(awk '/^## /{section = ($0 == "## Command-line tool")}
             section && /^```sh$/{block = 1; next}
             block && /^```$/{block = 0}
             block && NF && !/^#/' "$readme")
[[ -n $lines ]] || { echo "FAIL: no examples in $readme"; exit 1; }
grep -q 'kesto-cli demo' <<<"$lines" || { echo "FAIL: the examples make no demo board"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0 count=0
while IFS= read -r line; do
  expected=0
  [[ $line =~ \#\ *exit\ ([0-9]+) ]] && expected=${BASH_REMATCH[1]}
  eval "$line" </dev/null >"$work/.out" 2>&1
  rc=$?
  count=$((count + 1))
  if ((rc != expected)); then
    echo "FAIL: exit $rc, not $expected: $line"
    sed 's/^/    /' "$work/.out"
    failed=1
  fi
done <<<"$lines"
echo "$count README examples run"
exit $failed
