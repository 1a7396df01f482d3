#!/usr/bin/env bash
# Checks the headers under an install prefix: none that only the library's own sources share
# (cmake/PrivateHeaders.txt) is there, and the installed ones compile together from the
# pkg-config flags alone, so none of them needs a header that stayed behind.
# usage: CheckPublicHeaders.sh <prefix> <source folder>
set -euo pipefail
prefix=$1 source=$2
include=$prefix/include/tavcell
fail() { echo "FAIL: $*" >&2; exit 1; }

while read -r header; do
  if [ -e "$include/$header" ]; then
    fail "the private header $header is installed"
  fi
done < <(grep -v -e '^#' -e '^$' "$source/cmake/PrivateHeaders.txt")

pcfile=$(find "$prefix" -name tavcell.pc -path '*/pkgconfig/*' | head -n 1)
[ -n "$pcfile" ] || fail "tavcell.pc is not installed"
export PKG_CONFIG_PATH=$(dirname "$pcfile")
modules=tavcell
[ -d "$include/frontends/qt" ] && modules="tavcell-qt tavcell"
unit=$(mktemp --suffix=.cpp)
trap 'rm -f "$unit"' EXIT
(cd "$include" && find . -name '*.h' | sort | sed 's|^\./\(.*\)$|#include "\1"|') >"$unit"
# shellcheck disable=SC2046
c++ -fsyntax-only -Wall -Wextra -Werror $(pkg-config --cflags $modules) "$unit" ||
  fail "the installed headers do not compile on their own"
echo "$(wc -l <"$unit") public headers, none private, compile on their own"
