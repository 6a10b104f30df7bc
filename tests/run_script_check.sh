#!/usr/bin/env bash
# script/run as harnesses use it: without a display, runs in a row end with
# rotavex's status and leave no X server or rotavex behind, even when stopped;
# given a display, it draws there alone; a first run in a new build folder
# leaves all that cmake --install needs. And script/bootstrap on FreeBSD.
#   run_script_check.sh SOURCE_DIR BUILD_DIR
set -u
# In a process group of its own, where whatever a run left behind is found:
# with job control on, bash starts a background job in a new group, terminal
# or not (and its input is not the terminal, which would stop it). Stopped
# from outside, the group is asked to stop, and given ten seconds to clear up.
if [ -z "${ROTAVEX_CHECK_GROUP:-}" ]; then
    check=
    trap '[ -z "$check" ] || kill -s TERM -- "-$check" 2>/dev/null' HUP INT TERM
    set -m
    ROTAVEX_CHECK_GROUP=1 "$0" "$@" </dev/null &
    check=$!
    wait "$check"
    status=$?
    for ((i = 0; i < 100; i++)); do
        kill -0 -- "-$check" 2>/dev/null && sleep 0.1
    done
    kill -s KILL -- "-$check" 2>/dev/null
    exit "$status"
fi
source_dir=$1
run=$source_dir/script/run
export ROTAVEX_BUILD_DIR="$2"
unset DISPLAY

fail() {
    echo "$*" >&2
    pkill -g 0 -x 'Xvfb|rotavex'
    exit 1
}
# Waits up to 30 seconds for a rotavex of this group to start.
wait_for_rotavex() {
    local tries
    for ((tries = 0; tries < 300; tries++)); do
        pgrep -g 0 -x rotavex >/dev/null && return 0
        sleep 0.1
    done
    return 1
}
left_behind() { pgrep -g 0 -l -x 'Xvfb|rotavex'; }

# script/bootstrap on FreeBSD, through stand-ins: uname answers the system
# given, id says root, pkg writes down what it is asked, and there is no apt
# or dpkg. pkg finds each package missing, or with PKG_FINDS=0, present.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
stand_in=$scratch/stand-in
mkdir "$stand_in"
ln -s "$(command -v bash)" "$stand_in/bash"
printf '#!/bin/sh\necho 0\n' >"$stand_in/id"
printf '#!/bin/sh\n[ "$1" = info ] && exit "${PKG_FINDS:-1}"\necho "$*" >>"%s/asked"\n' "$stand_in" >"$stand_in/pkg"
chmod +x "$stand_in/id" "$stand_in/pkg"
bootstrap_on() { # SYSTEM PURPOSE EXPECTED: "status | what pkg did | other lines"
    printf '#!/bin/sh\necho %s\n' "$1" >"$stand_in/uname"
    chmod +x "$stand_in/uname"
    rm -f "$stand_in/asked"
    PATH=$stand_in "$source_dir/script/bootstrap" "$2" 2>"$stand_in/err"
    local status=$?
    local got="$status | $(cat "$stand_in/asked" 2>/dev/null) | $(grep -vc '^bootstrap: installing ' "$stand_in/err")"
    [ "$got" = "$3" ] || fail "script/bootstrap $2 on $1 gave '$got', not '$3'"
}
base="cmake libX11 libglvnd mesa-libs mesa-dri xorg-vfbserver"
bootstrap_on FreeBSD run "0 | install -y $base | 0"
bootstrap_on FreeBSD test "0 | install -y $base googletest benchmark python3 | 0"
PKG_FINDS=0 bootstrap_on FreeBSD test "0 |  | 0"
bootstrap_on SunOS run "2 |  | 1"
bootstrap_on Linux run "2 |  | 1" # a Linux without apt

# script/compare refuses a bad argument with its usage and status 2, before it installs or builds.
compare_refuses() {
    "$source_dir/script/compare" "$@" >/dev/null 2>"$scratch/err"
    local status=$?
    [ "$status" -eq 2 ] && tail -n 1 "$scratch/err" | grep -q '^usage: compare \[--rounds N\] \[--seconds S\] SIDE_A SIDE_B ' ||
        fail "script/compare $*: status $status, not 2 with the usage: $(cat "$scratch/err")"
}
compare_refuses ''
compare_refuses --rounds 1 '' ''
compare_refuses --seconds 2148 '' ''
compare_refuses --fast '' ''
compare_refuses '' 'A=1 /nonexistent'
compare_refuses '' "$stand_in/id $stand_in/pkg"

for ((i = 1; i <= 30; i++)); do
    "$run" -h 2>/dev/null
    status=$?
    [ "$status" -eq 1 ] || fail "run $i of script/run -h: status $status, not rotavex's 1"
    [ -z "$(left_behind)" ] || fail "run $i of script/run -h left behind: $(left_behind)"
done

# An untimed run, stopped from outside while rotavex draws.
for signal in TERM HUP; do
    "$run" >/dev/null 2>&1 &
    runner=$!
    wait_for_rotavex || fail "rotavex did not start within 30 s under script/run"
    kill -s "$signal" "$runner"
    wait "$runner"
    [ -z "$(left_behind)" ] || fail "script/run stopped by SIG$signal left behind: $(left_behind)"
done

# Given a DISPLAY, rotavex runs to status 0 with no server but that one: a
# script/run that ignored it would have started its own before rotavex.
export -f wait_for_rotavex
"$source_dir/script/with-xvfb" bash -c '"$0" -time 1 >/dev/null 2>&1 &
    wait_for_rotavex && [ "$(pgrep -g 0 -x Xvfb | awk "END { print NR }")" -eq 1 ] && wait $!' "$run" ||
    fail "script/run with a DISPLAY did not run rotavex there alone, to status 0"

fresh=$scratch/fresh
ROTAVEX_BUILD_DIR=$fresh/build "$run" -h 2>/dev/null
cmake --install "$fresh/build" --prefix "$fresh/prefix" >/dev/null ||
    fail "cmake --install failed after script/run in a new build folder"
echo "bootstrap asked FreeBSD's pkg for its lists; script/compare refused bad arguments;" \
    "30 runs of script/run -h ended with status 1; stopped runs left nothing behind;" \
    "with a DISPLAY it drew there alone; an install after it worked"
