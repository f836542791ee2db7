#!/usr/bin/env bash
# The operator's keyboard on a real X display: vestrak-page on Xvfb with openbox, keys and clicks
# sent by xdotool, and the events the page prints checked case by case. Exits 77 (skipped) when
# Xvfb cannot start.   real_display_test.sh VESTRAK_PAGE
set -u
page_tool=$(realpath "$1")
work=$(mktemp -d)
pids=()
failures=0
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

# Polls a command up to 30 s.
wait_for() { for _ in $(seq 600); do "$@" && return 0; sleep 0.05; done; return 1; }

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
if ! wait_for grep -q . "$work/display"; then
  echo "skipped: Xvfb could not start: $(cat "$work/xvfb.log")"
  exit 77
fi
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
# xdotool can activate a window only once the window manager names what it supports.
wait_for sh -c 'xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW'

cd "$work" || exit 1
printf '[General]\r\nAllowedFilterGroups=4\r\n[FilterGroupNames]\r\n4=Pumps\r\n[TreeObjects]\r\nP=1,Plant\r\nP1=4,Pump 1\r\nP2=1,Tank\r\nP3=4,Pump 2\r\n' >nav.ini
printf '[TreeObjects]\r\nS=2,T1,Station\r\nS1=2,T2,Pump A\r\nS2=2,T3,Pump B\r\n' >status.ini
# Runs a page and waits for its window, which has the keyboard in the navigation tree: at the top
# left (12 pixels in), 200 x 240 pixels, the filter text, the group button row below it, then the
# rows; the status tree beside it, from x = 224. $2 is the tree's CollapseTime.
start_page() {
  cat >"$1.page" <<END
create tree CiTree
size tree 3000 3600
set tree.ObjectFile nav.ini
set tree.CollapseTime $2
on tree.NodeClick get tree.SelectedObject
on tree.NodeDoubleClick get tree.SelectedObject
set tree.Style 0x258
create status CiStatus
size status 3000 3600
on status.NodeClick get status.SelectedNode
set status.ObjectFile status.ini
expand status.TreeView_Status S/0
END
  VESTRAK_SETTINGS=$work/$1.sqlite VESTRAK_PROFILE=$work/win.ini QT_QPA_PLATFORM=xcb \
    "$page_tool" "$1.page" >"$1.out" 2>"$1.err" &
  pids+=($!)
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "$1.page" | head -1)
  xdotool windowactivate --sync "$window"
  # A busy machine may map the window before the window manager gives it the keyboard.
  wait_for sh -c "[ \"\$(xdotool getwindowfocus)\" = $window ]"
  output=$work/$1.out
}

# The page's event lines but the status queries, which come every two seconds.
events() { grep -v GetStatus "$output"; }

# Waits up to 3 s for the page's events to end with these lines.
ends_with() {
  local expected
  expected=$(printf '%s\n' "$@")
  for _ in $(seq 60); do
    [ "$(events | tail -n $#)" = "$expected" ] && return 0
    sleep 0.05
  done
  return 1
}

check() {
  if "${@:2}"; then
    echo "ok: $1"
  else
    echo "FAILED: $1; the page printed:"
    events | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

# A click at a point of the window's inner area, given in pixels from its top left.
click_at() {
  local x y ox oy
  read -r x y <<<"$1"
  read -r ox oy < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }')
  xdotool mousemove $((ox + x)) $((oy + y)) sleep 0.2 click 1
}
GroupButton="24 40"
StatusFirstRow="284 22"

# Enter after a group filter opens the row the rebuild highlighted, and the tree that had the
# keyboard keeps it.
start_page filter 0
xdotool key Down Down Down
check "the keys walk the navigation tree" ends_with "tree.NodeClick" 'tree.SelectedObject = "P2"'
click_at "$GroupButton"
xdotool sleep 0.5 key Return
check "Enter after a group filter names the highlighted row" ends_with "tree.NodeClick" \
  'tree.SelectedObject = "P3"' "tree.NodeDoubleClick" 'tree.SelectedObject = "P3"'

# With the keyboard in the status tree, a group filter leaves it there.
click_at "$StatusFirstRow"
check "a click gives the status tree the keyboard" ends_with "status.NodeClick" 'status.SelectedNode = "Station"'
click_at "$GroupButton"
xdotool sleep 0.5 key Down
check "a group filter leaves the keyboard in the other control" ends_with \
  'status.SelectedNode = "Station"' "status.NodeClick" 'status.SelectedNode = "Pump A"'

# Keys in the tree keep it from collapsing after its two idle seconds; once it collapses, the
# keyboard stays on its expand button, and Space there brings the tree back with the keyboard.
start_page collapse 2
for _ in $(seq 7); do xdotool key Down sleep 0.4; done
check "keys keep the tree expanded" sh -c "! grep -q status.NodeClick '$output'"
check "the last key still reached the tree" ends_with "tree.NodeClick" 'tree.SelectedObject = "P3"'
xdotool sleep 3 key Down Down sleep 0.3
check "the collapsed tree keeps the keyboard" ends_with "tree.NodeClick" 'tree.SelectedObject = "P3"'
xdotool key space sleep 0.3 key Up
check "Space on the expand button gives the keyboard back to the tree" ends_with \
  "tree.NodeClick" 'tree.SelectedObject = "P2"'

[ "$failures" -eq 0 ]
