#!/usr/bin/env bash
# mime_types.sh PROBE PACKAGING_FOLDER SAMPLE_FOLDER
# With our MIME package compiled into the shared database as an installation
# does, every kind of file the program reads must get a type that the desktop
# entry lists, so the file manager offers the program under "Öffnen mit"; a
# LaTeX class stays LaTeX. Asked of Qt and, where installed, of GIO (the file
# managers of GNOME and its kin), since the two resolve conflicts apart.
set -euo pipefail
probe=$1 packaging=$2 samples=$3
system=/usr/share/mime/packages/freedesktop.org.xml
command -v update-mime-database >/dev/null && [ -f "$system" ] ||
  { echo "SKIP: shared-mime-info is not installed"; exit 0; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$tmp/share/mime/packages" "$tmp/home"
cp "$system" "$tmp/share/mime/packages/"
cp "$packaging/codelumo-mime.xml" "$tmp/share/mime/packages/codelumo.xml"
update-mime-database "$tmp/share/mime" >/dev/null
export XDG_DATA_HOME=$tmp/home XDG_DATA_DIRS=$tmp/share

typeOf() {  # typeOf TOOL FILE
  if [ "$1" = qt ]; then "$probe" "$2" | cut -f2
  else gio info -a standard::content-type "$2" | sed -n 's/^ *standard::content-type: //p'; fi
}
tools=(qt)
command -v gio >/dev/null && tools+=(gio)

listed=$(sed -n 's/^MimeType=//p' "$packaging/codelumo.desktop" | tr ';' '\n' | sed '/^$/d')
[ -n "$listed" ] || fail "the desktop entry lists no MIME types"
unknown=$("$probe" --known $listed) || fail "types unknown to the MIME database: $unknown"

# The documents with the first bytes of their containers (OLE2 compound file,
# ZIP package), the exported modules as they are.
files=()
for ext in doc dot xls xla xlt ppt pot; do
  printf '\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1' > "$tmp/Dokument.$ext"
  files+=("$tmp/Dokument.$ext")
done
for ext in docm dotm xlsm xlsb xlam xltm pptm potm ppam; do
  printf 'PK\x03\x04' > "$tmp/Dokument.$ext"
  files+=("$tmp/Dokument.$ext")
done
files+=("$samples"/*.bas "$samples"/*.cls "$samples"/*.frm)
printf '%s\n' '%% brief.cls, ein Briefstil' '\NeedsTeXFormat{LaTeX2e}' '\ProvidesClass{brief}' > "$tmp/brief.cls"

for tool in "${tools[@]}"; do
  for f in "${files[@]}"; do
    type=$(typeOf "$tool" "$f")
    grep -qxF "$type" <<<"$listed" || fail "$tool: $(basename "$f") is $type, which the desktop entry does not list"
  done
  for f in "$samples"/*.bas "$samples"/*.cls "$samples"/*.frm; do
    [ "$(typeOf "$tool" "$f")" = text/x-vba ] || fail "$tool: $(basename "$f") is not a VBA module"
  done
  [ "$(typeOf "$tool" "$tmp/brief.cls")" = text/x-tex ] || fail "$tool: a LaTeX class is $(typeOf "$tool" "$tmp/brief.cls")"
done
echo "mime ok (${tools[*]})"
