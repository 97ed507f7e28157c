#!/usr/bin/env bash
# Checks an installed game below PREFIX (a `cmake --install` prefix or the usr/
# of an unpacked package): the layout, the desktop files with the validators
# that are installed and as a desktop reads them, the licence and change log,
# the manual pages, and a start of the installed game through its menu entry
# on the offscreen platform with a fresh home.
#   packaging/check_installed.sh PREFIX [BINDIR]     (BINDIR: bin, or games for the package)
set -euo pipefail
prefix=$(cd "$1" && pwd -P)
bindir=${2:-bin}
here=$(cd "$(dirname "$0")" && pwd)
id=cn.tuixiangzi.sokoban
fail() { echo "FAIL: $*" >&2; exit 1; }

expected=(
  "$bindir/sokoban" "$bindir/sokoban-solve"
  share/sokoban/game.box share/sokoban/easy.box share/sokoban/normal.box
  share/sokoban/veryhard.box share/sokoban/impossible.box
  share/sokoban/music1.mid share/sokoban/music2.mid share/sokoban/music3.mid
  share/sokoban/music4.mid share/sokoban/music5.mid
  share/sokoban/help.html share/sokoban/about.html share/sokoban/contact.html
  share/sokoban/help.css share/sokoban/sokoban.png
  share/sokoban/en/help.html share/sokoban/en/about.html share/sokoban/en/contact.html
  share/sokoban/translations/sokoban_en.qm
  share/sokoban/skins/qingshi.png share/sokoban/skins/qingshi.ini
  share/sokoban/screenshots/main-window.png
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/mime/packages/$id.xml
  share/man/man6/sokoban.6.gz share/man/man6/sokoban-solve.6.gz
  share/man/zh_CN/man6/sokoban.6.gz share/man/zh_CN/man6/sokoban-solve.6.gz
  share/doc/sokoban/copyright share/doc/sokoban/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "$f missing"
done
for exe in sokoban sokoban-solve; do
  [ -x "$prefix/$bindir/$exe" ] || fail "$bindir/$exe is not executable"
done
# Nothing but the two programs in the programs' folder: no tests, benchmarks
# or build tools; and no other folder of programs.
others=$(find "$prefix/$bindir" -mindepth 1 ! -name sokoban ! -name sokoban-solve)
[ -z "$others" ] || fail "more than the programs in $bindir/: $others"
for dir in bin games; do
  [ "$dir" = "$bindir" ] || [ ! -e "$prefix/$dir" ] || fail "programs in $dir/ as well as $bindir/"
done
[ -z "$(find "$prefix" -name '*_tests' -o -name '*_bench' -o -name 'make_*')" ] ||
  fail "test or build programs installed"

# The licence: the team's, GPL 3 or later, in Debian's machine-readable form
# and the same as the project's.
cmp -s "$here/copyright" "$prefix/share/doc/sokoban/copyright" ||
  fail "share/doc/sokoban/copyright is not packaging/copyright"
# Compressed as Debian asks: the most, without the file's name and time, so
# the same source makes the same bytes.
python3 - "$prefix/share/doc/sokoban/changelog.gz" "$prefix"/share/man/man6/*.6.gz \
  "$prefix"/share/man/zh_CN/man6/*.6.gz <<'PY' ||
import gzip, sys
for name in sys.argv[1:]:
    head = open(name, "rb").read(10)
    assert head[:3] == b"\x1f\x8b\x08", f"{name}: not gzip"
    assert not head[3] & 0x08, f"{name}: keeps the original file name (gzip -n)"
    assert head[4:8] == b"\0\0\0\0", f"{name}: keeps a time stamp (gzip -n)"
    assert head[8] == 2, f"{name}: not compressed with -9"
    gzip.open(name).read()
PY
  fail "compressed files"
version=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$prefix/share/metainfo/$id.metainfo.xml" | head -1)
zcat "$prefix/share/doc/sokoban/changelog.gz" | head -1 | grep -q "^sokoban ($version) " ||
  fail "the change log does not begin with version $version"

# The desktop files as a desktop reads them: English by default, Chinese for
# zh_CN, the icon and the window class by the application id, the licence.
python3 - "$prefix" "$id" <<'PY' || fail "desktop files"
import configparser, glob, re, sys
import xml.etree.ElementTree as ET
prefix, app = sys.argv[1:]
LANG = "{http://www.w3.org/XML/1998/namespace}lang"

entry = configparser.RawConfigParser(interpolation=None)
entry.optionxform = str
entry.read(f"{prefix}/share/applications/{app}.desktop", encoding="utf-8")
e = entry["Desktop Entry"]
for key in ("Name", "GenericName", "Comment"):
    assert e[key].isascii(), f"{key} is not English: {e[key]}"
    assert not e[f"{key}[zh_CN]"].isascii(), f"{key}[zh_CN] is not Chinese"
assert e["Name[zh_CN]"] == "推箱子", e["Name[zh_CN]"]
assert e["Icon"] == app, f"Icon={e['Icon']}"
assert e["StartupWMClass"] == app, f"StartupWMClass={e.get('StartupWMClass')}"
assert glob.glob(f"{prefix}/share/icons/hicolor/*/apps/{e['Icon']}.png"), "no icon of that name"

root = ET.parse(f"{prefix}/share/metainfo/{app}.metainfo.xml").getroot()
def texts(tag):
    return {el.get(LANG): el.text.strip() for el in root.findall(tag)}
assert root.findtext("project_license") == "GPL-3.0-or-later", f"project_license {root.findtext('project_license')}"
assert root.findtext("metadata_license") in ("FSFAP", "CC0-1.0"), f"metadata_license {root.findtext('metadata_license')}"
for tag in ("name", "summary"):
    t = texts(tag)
    assert t.get(None, "").isascii() and t[None], f"<{tag}> without English default: {t}"
    assert not t.get("zh-CN", "a").isascii(), f"<{tag}> without zh-CN: {t}"
assert texts("name")["zh-CN"] == "推箱子"
paragraphs = root.findall("description/p")
assert any(p.get(LANG) is None for p in paragraphs) and any(p.get(LANG) == "zh-CN" for p in paragraphs)
site = re.compile(r"^https://([a-z0-9-]+\.)*tuixiangzi\.cn/")
assert site.match(root.findtext("url[@type='homepage']") or ""), "no homepage of our own"
images = [i.text.strip() for i in root.findall("screenshots/screenshot/image")]
assert images and all(site.match(i) for i in images), f"screenshots: {images}"
assert any(i.endswith("/main-window.png") for i in images), "the installed screenshot is not shown"
release = root.find("releases/release")
assert release is not None and release.get("date") and release.find("description/p") is not None, \
    "no release with notes"

mime = ET.parse(f"{prefix}/share/mime/packages/{app}.xml").getroot()
NS = "{http://www.freedesktop.org/standards/shared-mime-info}"
for t in mime.findall(f"{NS}mime-type"):
    c = {el.get(LANG): el.text for el in t.findall(f"{NS}comment")}
    assert c[None].isascii() and not c["zh_CN"].isascii(), f"{t.get('type')}: {c}"
PY
python3 - "$prefix/share/sokoban/screenshots/main-window.png" <<'PY' || fail "screenshot"
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
width, height = struct.unpack(">II", data[16:24])
assert width >= 400 and height >= 300, f"{width}x{height}"
PY

# The validators, where installed.
checked=()
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
  if grep -qE "error|warning" <<<"$out"; then fail "desktop-file-validate: $out"; fi
  checked+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1)"
  checked+=(appstreamcli)
elif command -v appstream-util >/dev/null; then
  appstream-util validate-relax --nonet "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "appstream-util validate-relax"
  checked+=(appstream-util)
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$prefix/share/mime/packages/$id.xml" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "xmllint"
  checked+=(xmllint)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if command -v update-mime-database >/dev/null; then
  # The database built from our package alone knows both types.
  mkdir -p "$work/mime/packages"
  cp "$prefix/share/mime/packages/$id.xml" "$work/mime/packages/"
  XDG_DATA_HOME="$work" update-mime-database "$work/mime" >/dev/null 2>"$work/mime.err" || fail "update-mime-database: $(cat "$work/mime.err")"
  [ ! -s "$work/mime.err" ] || fail "update-mime-database: $(cat "$work/mime.err")"
  for t in box xsb; do
    grep -q "application/x-sokoban-$t:\*\.$t" "$work/mime/globs2" || fail "*.$t not in the MIME database"
  done
  checked+=(update-mime-database)
fi
if command -v man >/dev/null; then
  # In a UTF-8 locale and in plain C: the NAME line is what whatis and
  # apropos show in any locale.
  for page in "$prefix"/share/man/man6/sokoban.6.gz "$prefix"/share/man/man6/sokoban-solve.6.gz; do
    for locale in C.UTF-8 C; do
      warn=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$work/page") ||
        fail "man $page"
      [ -z "$warn" ] || fail "LC_ALL=$locale man $page: $warn"
    done
    name=$(sed -n '/^NAME/{n;p;q}' "$work/page" | sed 's/^ *//')
    grep -qE '^sokoban(-solve)? - [[:print:]]+$' <<<"$name" || fail "NAME of $page reads: $name"
  done
  checked+=(man)
fi
echo "validated with: ${checked[*]:-none installed}"

# The installed game starts as the menu entry starts it, with its programs'
# folder on the PATH; it finds share/sokoban as its program directory and
# loads its audio module, and closes again.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop" | sed 's/ *%[fFuU]//')
mkdir -p "$work/home"
(cd "$work/home" &&
  env PATH="$prefix/$bindir:/usr/bin:/bin" HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" \
    XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
    SOKOBAN_QUIT_AFTER_START=1 LD_DEBUG=files LD_DEBUG_OUTPUT="$work/ld" \
    timeout 60 sh -c "exec $exec_line") >"$work/out" 2>&1 ||
  fail "the installed game did not start and close from its menu entry ($exec_line): $(cat "$work/out")"
[ -f "$prefix/share/sokoban/game.var" ] || [ -f "$work/home/.local/share/sokoban/game.var" ] ||
  fail "the game wrote no settings where an installed game keeps them"
module=$(find "$prefix"/lib* -path '*/sokoban/sokoban-audio.so' -print -quit)
[ -n "$module" ] || fail "no audio module installed"
# The dynamic loader's own account: the module mapped and started.
cat "$work"/ld.* | grep -qF "calling init: $(realpath "$module")" ||
  fail "the game did not load its audio module $module"
others=$(find "$prefix/$bindir" -mindepth 1 ! -name sokoban ! -name sokoban-solve)
[ -z "$others" ] || fail "the game wrote into $bindir/: $others"
# The solver runs from there too.
"$prefix/$bindir/sokoban-solve" --time-limit 10 "$prefix/share/sokoban/game.box" >"$work/solve" ||
  fail "sokoban-solve on the installed game.box"
[ "$(head -1 "$work/solve" | cut -f2)" = solved ] || fail "sokoban-solve did not solve level 1"
echo "ok: $prefix"
