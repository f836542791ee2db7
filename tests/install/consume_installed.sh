#!/usr/bin/env bash
# consume_installed.sh BUILD WORK: installs BUILD into WORK/prefix and uses it as an integrator
# would, with no C++ standard given: libraries, pkg-config files, the installed examples (whose code
# and Designer pages must show the same trees), a feed user, a core user without Qt, and the tools.
set -euo pipefail
build=$1 work=$(realpath -m "$2") prefix=$(realpath -m "$2")/prefix
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$work" && mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
major=$(sed -n 's/^CMAKE_PROJECT_VERSION_MAJOR:STATIC=//p' "$build/CMakeCache.txt")
libdir=$(find "$prefix" -name libvestrak_controls.so -printf '%h\n')
for library in vestrak_controls vestrak_qtwidgets vestrak_feeds; do
  readelf -d "$libdir/lib$library.so" | grep -q "SONAME.*\[lib$library\.so\.$major\]" ||
    fail "lib$library.so has no SONAME .so.$major"
done
! readelf -d "$libdir/libvestrak_controls.so" | grep -E 'NEEDED.*libQt' || fail "the core library links Qt"
# Hidden visibility: the widget set's internals stay inside the library.
! nm -DC --defined-only "$libdir/libvestrak_qtwidgets.so" | grep -E 'vestrak::(QtSurface|QtTreeView|QtTimer)' ||
  fail "libvestrak_qtwidgets.so exports internal classes"

# pkg-config: every file resolves, and the core alone links with its flags only.
export PKG_CONFIG_PATH=$libdir/pkgconfig
pkg-config --print-errors --exists vestrak-controls vestrak-qtwidgets vestrak-feeds
# shellcheck disable=SC2046
${CXX:-c++} "$here/core_consumer/core_user.cpp" -o "$work/core_user" $(pkg-config --cflags --libs vestrak-controls)
LD_LIBRARY_PATH=$libdir "$work/core_user" "$here/core_consumer/core_user.cpp" ||
  fail "the pkg-config core user could not see its own source"

examples=$prefix/share/vestrak-controls/examples
configure=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix")
if command -v ccache >/dev/null; then configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

# The core through CMake, where Qt 6 cannot be found; asking for more (or for all, naming no
# component) then fails.
core() {
  cmake -S "$here/core_consumer" -B "$work/core-$1" "${configure[@]}" --no-warn-unused-cli \
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=TRUE -DWANTED="$1"
}
core Controls >/dev/null || fail "the core consumer does not configure without Qt"
cmake --build "$work/core-Controls" >/dev/null
"$work/core-Controls/core_user" "$here/core_consumer/core_user.cpp" || fail "the CMake core user failed"
for wanted in QtWidgets Sparkplug ''; do
  ! core "$wanted" >"$work/core-$wanted.log" 2>&1 || fail "find_package accepted COMPONENTS $wanted without Qt"
done
grep -q 'QtWidgets needs Qt 6 Widgets' "$work/core-QtWidgets.log" || fail "no reason for the missing QtWidgets"
grep -q 'no component Sparkplug' "$work/core-Sparkplug.log" || fail "no reason for the unknown component"

cmake -S "$here/consumer" -B "$work/consumer" "${configure[@]}" -DEXAMPLES="$examples" >/dev/null
cmake --build "$work/consumer" >/dev/null

export QT_QPA_PLATFORM=offscreen VESTRAK_PROFILE=$work/win.ini
# Each control's line names its class; the properties listed after it differ between the two.
for way in qt-embed qt-embed-ui; do
  VESTRAK_SETTINGS=$work/$way.sqlite "$work/consumer/qt-embed/$way" "$examples/plant" --print | sed 's/) .*/)/' >"$work/$way.txt"
done
grep -qxF "        Intake Pump 1" "$work/qt-embed.txt" || { cat "$work/qt-embed.txt" >&2; fail "the code page's tree is not built"; }
[ "$(grep -cxF "  Water Works" "$work/qt-embed.txt")" = 2 ] || fail "the code page's status tree did not load"
diff -u "$work/qt-embed.txt" "$work/qt-embed-ui.txt" >&2 || fail "the Designer page shows other trees than the code page"

"$work/consumer/feed" "$examples/plant" >"$work/feed.txt"
diff -u - "$work/feed.txt" <<'EOF' || fail "the feed user"
WW_P101_ST: 1
rules: 2
EOF

# The installed tools from an unrelated folder: vestrak-page finds the installed example page,
# whose object files are found beside it.
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && VESTRAK_SETTINGS=$work/page.sqlite "$prefix/bin/vestrak-page" --screenshot shot.png --after 500 \
  >page.out 2>page.err) || { cat "$work/elsewhere/page.err" >&2; fail "the installed vestrak-page did not run its example"; }
[ -s "$work/elsewhere/shot.png" ] || fail "vestrak-page wrote no screenshot where it was started"
! grep '^vestrak-page: ' "$work/elsewhere/page.err" | grep -v '^vestrak-page: wrote ' ||
  fail "the installed example page reported problems"
echo "installed library: pkg-config, components, three equal pages, feed and tools all work"
