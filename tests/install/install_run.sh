#!/bin/sh
# Installs the build into a temporary prefix and checks the installed game as a user would
# meet it:
#   1. the program, its data, the desktop entry, the icons at every size and the AppStream
#      metadata are where desktops look for them; desktop-file-validate and appstreamcli
#      accept the entry and the metadata;
#   2. the prefix is made read-only and the installed program, run as an ordinary user (root
#      writes anywhere, so a root run drops to nobody), plays a whole game headless: its replay
#      and colour-mix cache land in $XDG_DATA_HOME/korrindal, its settings in
#      $XDG_CONFIG_HOME/korrindal, and nothing is written into the prefix;
#   3. the installed program plays that replay back to the same score.
# Arguments: the build folder, a folder for the prefix and logs.
# Exit codes: 0 pass, 1 fail, 77 skipped (a tool missing).
set -u
BUILD=$1
OUT=$2

. "$(dirname "$0")/play_installed.sh"
need_tools desktop-file-validate appstreamcli identify
fresh_out
PREFIX=$OUT/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$OUT/install.log" 2>&1 || fail "cmake --install failed: $(tail -5 "$OUT/install.log")"

# 1. The installed files.
[ -x "$PREFIX/bin/korrindal" ] || fail "no bin/korrindal"
for f in TZ_System.sp4 TZ_System.bmp tz_BG.bmp Map1.map Valcan.wav BGM1.mid Korrindal.htm; do
    [ -f "$PREFIX/share/korrindal/$f" ] || fail "no share/korrindal/$f"
done
ls "$PREFIX/share/korrindal" | grep -q '\.Add$' && fail "a cache file was installed"
DESKTOP=$PREFIX/share/applications/org.korrindal.Korrindal.desktop
METAINFO=$PREFIX/share/metainfo/org.korrindal.Korrindal.metainfo.xml
desktop-file-validate "$DESKTOP" >"$OUT/desktop.log" 2>&1 || fail "desktop-file-validate: $(cat "$OUT/desktop.log")"
[ -s "$OUT/desktop.log" ] && fail "desktop-file-validate warns: $(cat "$OUT/desktop.log")"
appstreamcli validate --no-net "$METAINFO" >"$OUT/appstream.log" 2>&1 || fail "appstreamcli validate: $(cat "$OUT/appstream.log")"
grep -q '^Icon=korrindal$' "$DESKTOP" || fail "the desktop entry names another icon"
for n in 16 24 32 48 64 128 256; do
    icon=$PREFIX/share/icons/hicolor/${n}x${n}/apps/korrindal.png
    [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${n}x${n}" ] || fail "icon $icon is not a ${n}x${n} PNG"
done

# 2. and 3. A read-only install played by an ordinary user, and its replay played back.
play_installed "$PREFIX/bin/korrindal" "$PREFIX" "$OUT"

chmod -R u+w "$OUT"
echo "pass: score $SCORE; replay $REPLAY"
exit 0
