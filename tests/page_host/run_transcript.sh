#!/bin/sh
# run_transcript.sh HOST SCRIPTS_FOLDER NAME WORK_FOLDER [HOST_WORDS]: plays NAME.page (also as
# standard input, for pages naming "-") in an empty WORK_FOLDER/NAME beside the *.inc parts, and
# compares standard output, then error, with NAME.expected. HOST_WORDS ("--widgets qt") go first,
# NAME.args before the page; NAME.status holds the exit status when it is not 0.
set -u
host=$1 scripts=$2 name=$3 work=$4/$3 host_words=${5:-}
rm -rf "$work" && mkdir -p "$work" && cp "$scripts/$name.page" "$scripts"/*.inc "$work/" && cd "$work" || exit 1
args=$(cat "$scripts/$name.args" 2>/dev/null)
expected_status=$(cat "$scripts/$name.status" 2>/dev/null || echo 0)
# The user's own profile and settings must not colour the transcript. The profile lives in a
# folder of its own, so object files named relative to the page are not found beside it.
VESTRAK_PROFILE="$work/profile/win.ini" VESTRAK_SETTINGS="$work/no-settings.sqlite" \
VESTRAK_COMMON_APPDATA="$work" "$host" $host_words $args "$name.page" <"$name.page" >stdout.txt 2>stderr.txt
status=$?
cat stdout.txt stderr.txt >actual.txt
diff -u "$scripts/$name.expected" actual.txt
differs=$?
[ "$status" = "$expected_status" ] || { echo "exit status $status, expected $expected_status"; exit 1; }
exit $differs
