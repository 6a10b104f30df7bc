#!/bin/sh
# script/run without a display, as a harness would start it again and again:
# every run ends with rotavex's own status, and none leaves an X server or
# rotavex behind, also when the script itself is stopped. Given a display,
# it draws there and starts nothing else; in a new build folder, it leaves
# all that cmake --install needs.
#   run_script_check.sh SOURCE_DIR BUILD_DIR
set -u
# A session of its own, so that whatever a run left behind can be found.
if [ -z "${ROTAVEX_CHECK_SESSION:-}" ]; then
    ROTAVEX_CHECK_SESSION=1 exec setsid -w "$0" "$@"
fi
run=$1/script/run
export ROTAVEX_BUILD_DIR="$2"
unset DISPLAY

fail() {
    echo "$*" >&2
    pkill -s 0 -x Xvfb
    pkill -s 0 -x rotavex
    exit 1
}
left_behind() {
    pgrep -s 0 -l -x Xvfb
    pgrep -s 0 -l -x rotavex
}

i=0
while [ $i -lt 30 ]; do
    i=$((i + 1))
    status=0
    "$run" -h 2>/dev/null || status=$?
    [ "$status" -eq 1 ] || fail "run $i of script/run -h: status $status, not rotavex's 1"
    [ -z "$(left_behind)" ] || fail "run $i of script/run -h left behind: $(left_behind)"
done

# An untimed run, stopped from outside while rotavex draws.
for signal in TERM HUP; do
    "$run" >/dev/null 2>&1 &
    runner=$!
    tries=0
    until pgrep -s 0 -x rotavex >/dev/null; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || fail "rotavex did not start under script/run"
        sleep 0.1
    done
    kill -s "$signal" "$runner"
    wait "$runner"
    [ -z "$(left_behind)" ] || fail "script/run stopped by SIG$signal left behind: $(left_behind)"
done

# The window on the display that DISPLAY names, and no server but that one.
"$1/script/with-xvfb" sh -c '"$0" -time 1 >/dev/null 2>&1 &
    timeout 30 xdotool search --sync --name "^rotavex\$" >/dev/null &&
        [ "$(pgrep -s 0 -c -x Xvfb)" -eq 1 ] && wait $!' "$run" ||
    fail "script/run with a DISPLAY did not run rotavex there alone, to status 0"

fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
ROTAVEX_BUILD_DIR=$fresh/build "$run" -h 2>/dev/null
cmake --install "$fresh/build" --prefix "$fresh/prefix" >/dev/null ||
    fail "cmake --install failed after script/run in a new build folder"
echo "30 runs of script/run -h ended with status 1; stopped runs left nothing behind;" \
    "with a DISPLAY it drew there alone; an install after it worked"
