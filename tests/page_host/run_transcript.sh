#!/bin/sh
# Plays one page script and compares what the host prints with the expected transcript.
#
#   run_transcript.sh HOST SCRIPTS_FOLDER NAME WORK_FOLDER [HOST_WORDS]
#
# HOST_WORDS, such as "--widgets qt", go first on the host's command line: one transcript then
# proves that both widget sets behave alike.
# NAME.page runs in an empty folder of its own (WORK_FOLDER/NAME), so the files it writes stay
# out of the source tree. Optional companions beside it:
#   NAME.args    extra command-line words, put before the page (for --settings, --clock, ...)
#   NAME.status  the expected exit status when it is not 0
# Every *.inc file of the scripts folder is copied in, for pages run together with shared parts.
# The page is also standard input, for pages that name "-" among their arguments. The transcript
# is standard output followed by standard error.
set -u

host=$1
scripts=$2
name=$3
work=$4/$name
host_words=${5:-}

rm -rf "$work"
mkdir -p "$work"
cp "$scripts/$name.page" "$work/"
for part in "$scripts"/*.inc; do
    [ -e "$part" ] && cp "$part" "$work/"
done

args=
[ -f "$scripts/$name.args" ] && args=$(cat "$scripts/$name.args")
expected_status=0
[ -f "$scripts/$name.status" ] && expected_status=$(cat "$scripts/$name.status")

cd "$work" || exit 1
# The user's own profile and settings must not colour the transcript. The profile lives in a
# folder of its own, so object files named relative to the page are not found beside it.
VESTRAK_PROFILE="$work/profile/win.ini" VESTRAK_SETTINGS="$work/no-settings.sqlite" \
VESTRAK_COMMON_APPDATA="$work" \
    "$host" $host_words $args "$name.page" <"$name.page" >stdout.txt 2>stderr.txt
status=$?
cat stdout.txt stderr.txt >actual.txt

failed=0
if ! diff -u "$scripts/$name.expected" actual.txt; then
    failed=1
fi
if [ "$status" != "$expected_status" ]; then
    echo "exit status $status, expected $expected_status"
    failed=1
fi
exit $failed
