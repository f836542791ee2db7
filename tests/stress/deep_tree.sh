#!/bin/sh
# A tree 200,000 levels deep (each line's code extends the code of the line before) through both
# controls: built, cleared by a load of another file, and destroyed with the page, without any
# step recursing per level and so running out of stack.
#
#   deep_tree.sh HOST WORK_FOLDER [HOST_WORDS]
set -eu

host=$1
work=$2
host_words=${3:-}
rm -rf "$work"
mkdir -p "$work"
cd "$work"

awk 'BEGIN { print "[TreeObjects]"; for (i = 0; i < 200000; i++) printf "A%d,A=1,T%d,x\n", i, i }' >deep.ini
printf '[TreeObjects]\r\nB=1,T,y\r\n' >small.ini
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
echo page closes
END

VESTRAK_PROFILE="$work/profile/win.ini" VESTRAK_COMMON_APPDATA="$work" \
    "$host" $host_words deep.page >actual.txt 2>&1 || {
    echo "vestrak-host ended with status $?"
    cat actual.txt
    exit 1
}
# The deepest node was there to be clicked in both trees.
if [ "$(grep -cx '[ts].NodeClick' actual.txt)" != 2 ] || [ "$(tail -n 1 actual.txt)" != "page closes" ]; then
    cat actual.txt
    exit 1
fi
