#!/usr/bin/env bash
# Installs the build into a fresh prefix as a packager would and checks what a program outside
# gets there: headers (the public ones only), libraries, CMake package, pkg-config, tavreg, one
# version everywhere, and no path of this machine's source or build folder.
# usage: CheckInstall.sh <build folder> <source folder> <version> [qt]  (qt: the desktop front
# end was built, so it must be installed too)
set -euo pipefail
build=$1 source=$2 version=$3 desktop=${4:-}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name tavcell.pc -path '*/pkgconfig/*')")/..
for file in include/tavcell/tav/data/TavData.h include/tavcell/tav/window/TavCellCtrl.h \
            include/tavcell/frontends/tty/TtyDriver.h include/tavcell/platform/ui/Wnd.h bin/tavreg; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
ls "$libdir"/libtavcell.* "$libdir"/libtavcell-tty.* >/dev/null || fail "the libraries are not installed"
[ -f "$libdir/cmake/tavcell/tavcellConfig.cmake" ] && [ -f "$libdir/cmake/tavcell/tavcellConfigVersion.cmake" ] ||
  fail "the CMake package is incomplete"
if [ "$desktop" = qt ]; then
  for file in include/tavcell/frontends/qt/EmbeddedPane.h include/tavcell/frontends/qt/DesktopSession.h; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
  done
  ls "$libdir"/libtavcell-qt.* "$libdir/pkgconfig/tavcell-qt.pc" "$libdir/cmake/tavcell/tavcellQtTargets.cmake" >/dev/null ||
    fail "the desktop front end is not installed"
fi
bash "$source/tests/package/CheckPublicHeaders.sh" "$prefix" "$source"

# Relative to the prefix, so the tree may be moved; names of this machine's folders would not be.
for folder in "$(realpath "$source")" "$(realpath "$build")"; do
  if found=$(grep -rlF "$folder" "$prefix"); then
    fail "installed files name $folder: $found"
  fi
done

[ "$("$prefix/bin/tavreg" --version)" = "tavreg (tavcell) $version" ] || fail "tavreg --version is not $version"
export PKG_CONFIG_PATH=$libdir/pkgconfig
[ "$(pkg-config --modversion tavcell)" = "$version" ] || fail "tavcell.pc does not say $version"
grep -q "PACKAGE_VERSION \"$version\"" "$libdir/cmake/tavcell/tavcellConfigVersion.cmake" ||
  fail "the CMake package does not say $version"

# Programs built from the pkg-config flags alone: the headers are found and the libraries link.
cat >"$prefix/host.cpp" <<'HOST'
#include "tav/frame/TavFrame.h"
#include "tav/data/TavData.h"
int main() { TavData data; return TavGetModuleHandle() != nullptr && !data.IsModified() ? 0 : 1; }
HOST
static=--static
ls "$libdir"/libtavcell.so* >/dev/null 2>&1 && static=
# shellcheck disable=SC2046
c++ -o "$prefix/host" "$prefix/host.cpp" $(pkg-config $static --cflags --libs tavcell) ||
  fail "a program does not build from pkg-config's flags"
LD_LIBRARY_PATH=$libdir "$prefix/host" || fail "the program built from pkg-config's flags does not run"
# shellcheck disable=SC2046
c++ -o "$prefix/small" "$source/tests/package/SmallHost.cpp" $(pkg-config $static --cflags --libs tavcell-tty tavcell) ||
  fail "the README's small host does not build against the install"
if [ "$desktop" = qt ]; then
  # shellcheck disable=SC2046
  c++ -o "$prefix/small-qt" "$source/tests/package/SmallQtHost.cpp" $(pkg-config $static --cflags --libs tavcell-qt tavcell) ||
    fail "the guide's Qt host does not build against the install"
fi
echo "installed and checked under a temporary prefix"
