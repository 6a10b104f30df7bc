#!/bin/sh
# Installs rotavex into a scratch prefix, builds its Debian package twice and
# compares, checks it with lintian, and runs the packaged binary for a
# one-second timed run on a private Xvfb.
set -eu
build_dir=$1
# The package's file times then come from the last commit.
unset SOURCE_DATE_EPOCH
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
test -x "$scratch/prefix/bin/rotavex"
man "$scratch/prefix/share/man/man1/rotavex.1.gz" 2>/dev/null | grep -q "rotavex"
test -f "$scratch/prefix/share/doc/rotavex/LICENSE"

cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$scratch/package" >/dev/null
deb=$(ls "$scratch"/package/rotavex_*.deb)
sleep 1
cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$scratch/again" >/dev/null
cmp "$deb" "$scratch/again/$(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libx11-6 libglx0 libopengl0 libc6; do
    case "$depends" in *"$library"*) ;; *) echo "no $library in the package's Depends: $depends" >&2; exit 1 ;; esac
done

# Any tag fails, down to pedantic and experimental ones, and no override
# counts. Lintian's note about running as root goes with its other messages,
# and its scratch files go with ours.
if ! TMPDIR=$scratch lintian --display-info --pedantic --display-experimental --no-override \
    --fail-on error,warning,info,pedantic,experimental "$deb" >"$scratch/lintian" 2>&1; then
    echo "lintian found tags:" >&2
    cat "$scratch/lintian" >&2
    exit 1
fi
grep -v 'running with root privileges' "$scratch/lintian" || true

dpkg-deb -x "$deb" "$scratch/root"
test -f "$scratch/root/usr/share/man/man1/rotavex.1.gz"
test -f "$scratch/root/usr/share/doc/rotavex/copyright"
test -f "$scratch/root/usr/share/doc/rotavex/changelog.gz"
"$(dirname "$0")/../script/with-xvfb" "$scratch/root/usr/bin/rotavex" -time 1 \
    >"$scratch/out" 2>"$scratch/err"
grep -q '^Start timing!$' "$scratch/out"
grep -Eq '^COUNT\|[1-9][0-9]*\|1\|fps$' "$scratch/err"
grep -Eq '^TIME\|1\.[0-9]$' "$scratch/err"
echo "package check passed: $(basename "$deb"), built twice alike, Depends: $depends, lintian clean"
