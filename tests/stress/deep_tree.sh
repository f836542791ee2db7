#!/bin/sh
# A tree 200,000 levels deep (each line's code extends the code of the line before) through both
# controls: built, cleared by a load of another file, opened all the way down, and destroyed with
# the page, without any step recursing per level and so running out of stack. With PAGE_TOOL
# (vestrak-page), the opened tree is also drawn on a Qt window, which lays out every open branch.
#   deep_tree.sh HOST WORK_FOLDER [HOST_WORDS [PAGE_TOOL]]
set -eu
host=$1 work=$2 host_words=${3:-} page_tool=${4:-}
rm -rf "$work" && mkdir -p "$work" && cd "$work"
export VESTRAK_PROFILE="$work/profile/win.ini" VESTRAK_COMMON_APPDATA="$work"

awk 'BEGIN { print "[TreeObjects]"; for (i = 0; i < 200000; i++) printf "A%d,A=1,T%d,x\n", i, i }' >deep.ini
printf '[TreeObjects]\r\nB=1,T,y\r\n' >small.ini
printf 'create e CiTree\nset e.ObjectFileSection TreeObjects\nset e.ObjectFile deep.ini\nset e.Style 0x58\n' >opened.page
cat >deep.page <<'END'
create t CiTree
set t.ObjectFileSection TreeObjects
set t.ObjectFile deep.ini
set t.Style 0x18
click t.TreeView_Objects A199999,A/199999
set t.ObjectFile small.ini
set t.ObjectFile deep.ini
create s CiStatus
set s.ObjectFile deep.ini
click s.TreeView_Status A199999,A/199999
set s.ObjectFile small.ini
set s.ObjectFile deep.ini
END
printf 'click e.TreeView_Objects A199999,A/199999\necho page closes\n' | cat opened.page - >>deep.page

# The deepest node was there to be clicked in every tree.
"$host" $host_words deep.page >actual.txt 2>&1 && [ "$(grep -cx '[tse].NodeClick' actual.txt)" = 3 ] \
    && [ "$(tail -n 1 actual.txt)" = "page closes" ] || { cat actual.txt; exit 1; }
[ -z "$page_tool" ] || "$page_tool" opened.page --screenshot opened.png --after 0 >/dev/null
