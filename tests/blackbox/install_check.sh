#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop needs: the program,
# its desktop entry, its icon and its AppStream metainfo, each valid and naming the
# others correctly.
#
#   install_check.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
prefix=$work/prefix
rm -rf "$prefix"
mkdir -p "$work"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

id=org.vidurara.Vidurara
desktop=$prefix/share/applications/$id.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/$id.svg
metainfo=$prefix/share/metainfo/$id.metainfo.xml
fail() { echo "install: $*" >&2; exit 1; }

[ -x "$prefix/bin/vidurara" ] || fail "bin/vidurara missing or not executable"
for f in "$desktop" "$icon" "$metainfo"; do
  [ -s "$f" ] || fail "${f#"$prefix"/} missing"
done

desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"

# The entry starts the installed program and shows the installed icon.
grep -qx "Exec=vidurara" "$desktop" || fail "the desktop entry does not start vidurara"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
python3 -c 'import sys, xml.etree.ElementTree as E; r = E.parse(sys.argv[1]).getroot(); sys.exit(0 if r.tag.endswith("svg") else 1)' "$icon" ||
  fail "the icon is no SVG"
echo "install: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
