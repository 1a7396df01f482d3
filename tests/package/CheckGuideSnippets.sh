#!/usr/bin/env bash
# The host guide and the README quote host programs: each code block after a
# "<!-- snippet: FILE NAME -->" line must be the lines between "// [guide:NAME]" and
# "// [/guide:NAME]" in FILE, so that every snippet a reader copies is code the tests compile.
# usage: CheckGuideSnippets.sh <source folder>
set -euo pipefail
cd "$1"
checked=0 failed=0
for guide in docs/host-guide.md README.md; do
while read -r file name; do
  quoted=$(awk -v tag="<!-- snippet: $file $name -->" '
    $0 == tag { found = 1; next }
    found && /^```cpp$/ { inside = 1; next }
    inside && /^```$/ { exit }
    inside { print }' "$guide")
  source=$(awk -v name="$name" '
    $0 ~ "^[[:space:]]*// \\[/guide:" name "\\]$" { exit }
    inside { print }
    $0 ~ "^[[:space:]]*// \\[guide:" name "\\]$" { inside = 1 }' "$file")
  checked=$((checked + 1))
  if [ -z "$source" ] || [ "$quoted" != "$source" ]; then
    echo "FAIL: $guide's snippet $file $name differs from the source" >&2
    diff <(echo "$source") <(echo "$quoted") >&2 || true
    failed=$((failed + 1))
  fi
done < <(sed -n 's/^<!-- snippet: \([^ ]*\) \([^ ]*\) -->$/\1 \2/p' "$guide")
done
[ "$checked" -gt 0 ] || { echo "FAIL: the guide quotes no snippet" >&2; exit 1; }
echo "$checked snippets checked, $failed differ"
[ "$failed" -eq 0 ]
