#!/usr/bin/env bash
# Usage: check-package.sh DEB
# Checks a built package: what it must hold, its control data and maintainer scripts, the
# program run from the extracted package, and the Debian and freedesktop validators.
set -euo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/dpx-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

# The files a user and the system need.
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' > "$work/files"
for path in /usr/bin/dpx \
    /usr/share/applications/org.dpx.DPX.desktop \
    /usr/share/metainfo/org.dpx.DPX.metainfo.xml \
    /usr/share/icons/hicolor/16x16/apps/org.dpx.DPX.png \
    /usr/share/icons/hicolor/32x32/apps/org.dpx.DPX.png \
    /usr/share/icons/hicolor/64x64/apps/org.dpx.DPX.png \
    /usr/lib/udev/rules.d/70-dpx-vks-box.rules \
    /usr/share/man/man1/dpx.1.gz \
    /usr/share/doc/dpx/copyright \
    /usr/share/doc/dpx/changelog.gz; do
  grep -qxF "$path" "$work/files" || fail "$path is missing"
done
if grep -vE '^/usr/(bin|share|lib/udev)/' "$work/files" | grep -v '/$' | grep -q .; then
  fail "files outside /usr/bin, /usr/share and /usr/lib/udev: $(grep -vE '^/usr/(bin|share|lib/udev)/' "$work/files" | grep -v '/$')"
fi

# Depends computed from the program's libraries; the udev rules reloaded after installing.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libhidapi-hidraw0 libsndfile1 libsoxr0 libpulse0 libqt6sql6-sqlite; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
dpkg-deb -e "$deb" "$work/control"
grep -q 'udevadm control --reload-rules' "$work/control/postinst" || fail "postinst does not reload udev rules"
grep -q 'TAG+="uaccess"' <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/lib/udev/rules.d/70-dpx-vks-box.rules) \
  || fail "the udev rule does not give the seat access"

# The program as installed: its version, then a short telephone script headless.
dpkg -x "$deb" "$work/root"
"$work/root/usr/bin/dpx" --version > "$work/version" || fail "dpx --version failed"
grep -q '^DPX [0-9]' "$work/version" || fail "unexpected --version: $(cat "$work/version")"
grep -q '^hidapi ' "$work/version" || fail "--version does not name hidapi"
QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/dpx" --data-dir "$work/data" \
  --sim-script "$here/short.dpxs" > "$work/script.out" 2>&1 \
  || { cat "$work/script.out" >&2; fail "the short script failed"; }

desktop-file-validate "$work/root/usr/share/applications/org.dpx.DPX.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.dpx.DPX.metainfo.xml"
# No errors allowed; the warnings left are listed in the README's install section.
lintian --fail-on error --suppress-tags-from-file "$here/lintian-accepted" "$deb"
echo "package check: $(basename "$deb") ok"
