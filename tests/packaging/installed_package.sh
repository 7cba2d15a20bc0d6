#!/usr/bin/env bash
# installed_package.sh DEB_FOLDER SAMPLE_FOLDER [OFFICE_FILE]
# Unpacks the package into a temporary root and runs the programs from there:
# they must find the template and the help page under share, not in the
# build folder, and build a project with that template.
set -euo pipefail
debs=("$1"/codelumo_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected exactly one package in $1"; exit 1; }
deb=${debs[0]}
samples=$2
office=${3:-}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

dpkg-deb -x "$deb" "$root"
for f in usr/bin/codelumo usr/bin/codelumo-cli usr/share/codelumo/mask_DivuRuvi.mdb "usr/share/codelumo/Code Lumo.html" \
         usr/share/applications/codelumo.desktop usr/share/mime/packages/codelumo.xml \
         usr/share/icons/hicolor/16x16/apps/codelumo.png usr/share/icons/hicolor/256x256/apps/codelumo.png; do
  [ -f "$root/$f" ] || fail "$f is not in the package"
done
# Nothing but the two programs in /usr/bin: the shipped files moved to share.
[ "$(ls "$root/usr/bin" | tr '\n' ' ')" = "codelumo codelumo-cli " ] || fail "usr/bin holds $(ls "$root/usr/bin")"

# Run-time dependencies: the linked libraries and what Qt loads by name.
depends=$(dpkg-deb -f "$deb" Depends)
needed=(libqt6core6 libqt6gui6 libqt6widgets6 libgsf-1-114 qt6-qpa-plugins qt6-translations-l10n)
# SQLite is linked in where its archive was there at build time.
readelf -d "$root/usr/bin/codelumo-cli" | grep -q 'libsqlite3\.so' && needed+=(libsqlite3-0)
for p in "${needed[@]}"; do
  grep -q "\b$p\b" <<<"$depends" || fail "Depends lacks $p: $depends"
done
# Build tools never become run-time dependencies.
! grep -qE '\b(cmake|g\+\+|qt6-base-dev|libgtest|-dev)\b' <<<"$depends" || fail "Depends names build tools: $depends"

export LUMO_SETTINGS_FILE=$root/settings.ini LUMO_DATA_DIR=$root/data
info=$("$root/usr/bin/codelumo-cli" info)
echo "$info"
grep -qxF "Programmordner:  $root/usr/share/codelumo/" <<<"$info" || fail "program folder is not the installed share folder"
grep -qxF "Vorlage:         $root/usr/share/codelumo/mask_DivuRuvi.mdb" <<<"$info" || fail "template not found under share"

"$root/usr/bin/codelumo-cli" build --out "$root/projekt" "$samples"
[ -s "$root/projekt/DivuRuvi.mdb" ] || fail "no project built from the installed template"

# libgsf is loaded by name when the first Office file is read: the
# installed program must find it.
if [ -f "$office" ]; then
  "$root/usr/bin/codelumo-cli" dump "$office" | grep -q '^== ' || fail "no modules read from $office"
else
  echo "skipped reading an Office file: corpus missing ($office)"
fi

# The window starts from the unpacked tree and stays up until it is stopped;
# exit status 124 is timeout's: still running.
status=0
QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/codelumo" "$samples" >/dev/null 2>&1 || status=$?
[ $status -eq 124 ] || fail "codelumo ended with status $status instead of running"
echo "package ok: $(basename "$deb")"
