#!/bin/sh
# Installs rotavex into a scratch prefix, builds its Debian package, and runs
# the packaged binary for a one-second timed run on a private Xvfb.
set -eu
build_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
test -x "$scratch/prefix/bin/rotavex"
man -l "$scratch/prefix/share/man/man1/rotavex.1" 2>/dev/null | grep -q "rotavex"

cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$scratch/package" >/dev/null
deb=$(ls "$scratch"/package/rotavex_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for library in libx11-6 libglx0 libopengl0 libc6; do
    case "$depends" in
    *"$library"*) ;;
    *) echo "the package does not depend on $library: $depends" >&2; exit 1 ;;
    esac
done

dpkg-deb -x "$deb" "$scratch/root"
test -f "$scratch/root/usr/share/man/man1/rotavex.1"
"$(dirname "$0")/../script/with-xvfb" "$scratch/root/usr/bin/rotavex" -time 1 \
    >"$scratch/out" 2>"$scratch/err"
grep -q '^Start timing!$' "$scratch/out"
grep -Eq '^COUNT\|[1-9][0-9]*\|1\|fps$' "$scratch/err"
grep -Eq '^TIME\|1\.[0-9]$' "$scratch/err"
echo "package check passed: $(basename "$deb"), Depends: $depends"
