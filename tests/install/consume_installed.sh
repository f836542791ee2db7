#!/usr/bin/env bash
# consume_installed.sh BUILD WORK: installs BUILD into WORK/prefix and uses it as an integrator
# would: every public header compiles on its own include prefix, the core links through
# pkg-config without Qt, and the installed qt-embed example configures with find_package, builds
# and runs offscreen, its .ui page included.
set -euo pipefail
build=$1 work=$2
prefix=$work/prefix
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(find "$prefix" -name libvestrak_controls.so -printf '%h\n')
for library in vestrak_controls vestrak_qtwidgets; do
  readelf -d "$libdir/lib$library.so" | grep -q "SONAME.*\[lib$library\.so\.1\]" || fail "lib$library.so has no SONAME .so.1"
done
if readelf -d "$libdir/libvestrak_controls.so" | grep -E 'NEEDED.*libQt'; then
  fail "the core library links Qt"
fi
# Hidden visibility: the widget set's internals stay inside the library.
if nm -DC --defined-only "$libdir/libvestrak_qtwidgets.so" | grep -E 'vestrak::(QtSurface|QtTreeView|QtTimer)'; then
  fail "libvestrak_qtwidgets.so exports internal classes"
fi

# Each installed header stands on its own with the one include prefix.
cxx=${CXX:-c++}
qt_flags=$(pkg-config --cflags Qt6Widgets)
export cxx qt_flags prefix
(cd "$prefix/include" && find vestrak -name '*.h' -print0) | xargs -0 -P2 -I{} sh -c \
  'echo "#include <{}>" | $cxx -std=c++20 -fsyntax-only -fPIC -x c++ - -I"$prefix/include" $qt_flags' \
  || fail "an installed header does not compile on its own"

# The core alone, through pkg-config, with no Qt in sight.
cat >"$work/core_user.cpp" <<'CPP'
#include <vestrak/linux_platform/local_file_system.h>
int main(int argc, char** argv)
{
    vestrak::LocalFileSystem files;
    return argc > 1 && files.isOrdinaryFile(std::u16string(argv[1], argv[1] + std::char_traits<char>::length(argv[1]))) ? 0 : 1;
}
CPP
PKG_CONFIG_PATH=$libdir/pkgconfig
export PKG_CONFIG_PATH
# shellcheck disable=SC2046
$cxx -std=c++20 "$work/core_user.cpp" -o "$work/core_user" $(pkg-config --cflags --libs vestrak-controls)
LD_LIBRARY_PATH=$libdir "$work/core_user" "$work/core_user.cpp" || fail "the core's user could not see its own source"

example=$prefix/share/vestrak-controls/examples
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$example/qt-embed" -B "$work/example" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}" >/dev/null
cmake --build "$work/example" >/dev/null

export QT_QPA_PLATFORM=offscreen VESTRAK_SETTINGS=$work/settings.sqlite VESTRAK_PROFILE=$work/win.ini
"$work/example/qt-embed" "$example/plant" --print >"$work/code.txt"
"$work/example/qt-embed-ui" "$example/plant" --print >"$work/ui.txt"
expect() {
  grep -qxF -- "$2" "$work/$1" || { cat "$work/$1" >&2; fail "$1 lacks the line '$2'"; }
}
expect code.txt "ciTree (vestrak::CiTreeWidget) Style=1560"
expect code.txt "        Intake Pump 1"
expect code.txt "ciStatus (vestrak::CiStatusWidget) Behaviour=1"
# The page's properties reached the controls, ObjectFile before Style: the tree is built.
expect ui.txt "ciTree (vestrak::CiTreeWidget) ObjectFile=plant.ini Style=1560"
expect ui.txt "  Water Works"
expect ui.txt "        Intake Pump 1"
expect ui.txt "ciStatus (vestrak::CiStatusWidget) ObjectFile=status.ini Behaviour=1 UpdateInterval=2"
[ "$(grep -cxF "  Water Works" "$work/ui.txt")" = 2 ] || fail "the .ui page's status tree did not load"
echo "installed library: headers, pkg-config core, find_package example and its .ui page all work"
