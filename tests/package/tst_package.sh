#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks it with lintian,
# unpacks it into a throw-away root and runs the installed kesa-db and program
# from there, through the commands on the PATH.
#
#   tst_package.sh BUILD_DIR CPACK VERSION
set -euo pipefail
build=$1
cpack=$2
version=$3
work=$(mktemp -d /tmp/kesa-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

echo "== cpack"
(cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) \
    || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
deb=$work/out/kesa-z_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/out")"

echo "== lintian"
lintian --allow-root --fail-on error "$deb" || fail "lintian reports errors"

echo "== dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends"
# Named by hand (loaded at run time) and computed from the binaries.
for need in fonts-nanum libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n \
    libqt6widgets6 libqt6sql6 libpq5; do
    grep -Eq "(^|, )$need( |,|$)" <<<"$depends" || fail "Depends lacks $need"
done
[ "$(dpkg-deb -f "$deb" Package)" = kesa-z ] || fail "package name"
cmp -s <(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | sort) \
    <(printf '%s\n' /etc/kesa-z/Main.ini /etc/kesa-z/ZEDavoro.ini /etc/kesa-z/kesa_z.ini) \
    || fail "conffiles"

echo "== contents"
root=$work/root
dpkg -x "$deb" "$root"
lib=$root/usr/lib/kesa-z
# Every program of the build folder (the printer simulators among them once
# they exist) is installed in the program folder, with its command on the PATH.
count=0
for program in "$build"/bin/*; do
    name=$(basename "$program")
    [ -f "$program" ] && [ -x "$program" ] && [ "$name" != kesa-mainimg ] || continue
    [ -x "$lib/$name" ] || fail "$name is not in /usr/lib/kesa-z"
    [ "$(readlink "$root/usr/bin/$name")" = "../lib/kesa-z/$name" ] \
        || fail "/usr/bin/$name is not a link to the program folder"
    count=$((count + 1))
done
[ "$count" -ge 3 ] || fail "only $count programs in the build folder"
[ ! -e "$lib/kesa-mainimg" ] || fail "the build-only kesa-mainimg is installed"
[ -s "$lib/MainImg.rcc" ] || fail "the splash resource is not beside the program"
for ini in ZEDavoro.ini Main.ini kesa_z.ini; do
    [ "$(readlink "$lib/$ini")" = "/etc/kesa-z/$ini" ] || fail "$ini is not a link to /etc/kesa-z"
    [ -f "$root/etc/kesa-z/$ini" ] || fail "/etc/kesa-z/$ini missing"
done
desktop=$root/usr/share/applications/kesa-z.desktop
grep -qx 'Name=시스템 관리' "$desktop" || fail "desktop entry without the Korean name"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon"
grep -q 'PROGRAM_COUNT' "$root/usr/share/doc/kesa-z/configuration.md" \
    || fail "the configuration table is not documented"

echo "== installed kesa-db and program"
db=$work/demo.db
"$root/usr/bin/kesa-db" demo "$db" || fail "kesa-db demo"
mkdir -m 700 "$work/runtime"
# Its folders in the test's own place: the user's are not touched, and what
# earlier versions left there cannot put a box in the way.
out=$(XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache \
    TMPDIR=$work KESA_STARTUP_PROBE=quit \
    timeout 60 "$root/usr/bin/kesa_z" "$db" kesa A0001 김관리 2>"$work/program.log") \
    || { cat "$work/program.log" >&2; fail "the installed program did not end well"; }
[ "$out" = shown ] || { cat "$work/program.log" >&2; fail "the main window was not shown: $out"; }
echo "PASS"
