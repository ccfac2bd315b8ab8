#!/bin/sh
# The Debian package as a packager and a player meet it:
#   1. CPack builds korrindal_<version>_<arch>.deb from the build (the program is not built
#      again); its control fields carry the version the program prints, the games section and
#      dependencies on the runtime libraries and a soundfont;
#   2. apt-get resolves its dependencies (--simulate; nothing is installed);
#   3. lintian reports no error;
#   4. unpacked with dpkg-deb -x into a temporary root, it holds the program in /usr/games, the
#      data in /usr/share/games/korrindal, the desktop entry, icons, AppStream metadata, the
#      manual page korrindal.6 and the copyright file;
#   5. the unpacked program, which finds its data from its own folder, plays a whole game as an
#      ordinary user, writing only in the user's XDG folders, and its replay plays back.
# Arguments: the build folder, a folder for the package, the root and logs, play_installed.sh.
# Exit codes: 0 pass, 1 fail, 77 skipped (a tool missing).
set -u
BUILD=$1
OUT=$2
PLAY=$3

. "$PLAY"
need_tools cpack dpkg-deb dpkg-shlibdeps apt-get
fresh_out

# 1. The package.
[ -f "$BUILD/deb-files/korrindal.6.gz" ] || fail "no manual page was built (help2man missing?)"
(cd "$OUT" && cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$OUT/cpack") >"$OUT/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -20 "$OUT/cpack.log")"
DEB=$(ls "$OUT"/cpack/korrindal_*.deb 2>/dev/null | head -1)
[ -n "$DEB" ] || fail "no korrindal_*.deb: $(tail -5 "$OUT/cpack.log")"
field() { dpkg-deb -f "$DEB" "$1"; }
VERSION=$(field Version)
[ "$(field Package)" = korrindal ] || fail "package name: $(field Package)"
[ "$(field Section)" = games ] || fail "section: $(field Section)"
DEPENDS=$(field Depends)
for lib in libsdl2 libfluidsynth libstdc++6 libc6; do
    echo "$DEPENDS" | grep -q "$lib" || fail "no dependency on $lib: $DEPENDS"
done
echo "$DEPENDS" | grep -q "soundfont" || fail "no dependency on a soundfont: $DEPENDS"

# 2. Its dependencies resolve (the soundfont and libraries scripts/install-deps.sh installs).
apt-get install --simulate --no-install-recommends "$DEB" >"$OUT/apt.log" 2>&1 ||
    fail "apt-get cannot install it: $(tail -15 "$OUT/apt.log")"
grep -q '^Inst korrindal ' "$OUT/apt.log" || fail "apt-get would not install korrindal: $(tail -15 "$OUT/apt.log")"

# 3. lintian, when installed: no error (warnings are listed in the log).
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$DEB" >"$OUT/lintian.log" 2>&1 ||
        fail "lintian: $(cat "$OUT/lintian.log")"
fi

# 4. The files where Debian wants them.
ROOT=$OUT/root
dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb -x failed"
PROGRAM=$ROOT/usr/games/korrindal
[ -x "$PROGRAM" ] || fail "no /usr/games/korrindal"
[ -e "$ROOT/usr/bin" ] && fail "the package has a /usr/bin: $(ls "$ROOT/usr/bin")"
for f in TZ_System.sp4 TZ_System.bmp tz_BG.bmp Map1.map Valcan.wav BGM1.mid Korrindal.htm; do
    [ -f "$ROOT/usr/share/games/korrindal/$f" ] || fail "no /usr/share/games/korrindal/$f"
done
for f in applications/org.korrindal.Korrindal.desktop metainfo/org.korrindal.Korrindal.metainfo.xml \
         icons/hicolor/48x48/apps/korrindal.png icons/hicolor/256x256/apps/korrindal.png \
         man/man6/korrindal.6.gz doc/korrindal/copyright doc/korrindal/changelog.gz; do
    [ -f "$ROOT/usr/share/$f" ] || fail "no /usr/share/$f"
done
zcat "$ROOT/usr/share/man/man6/korrindal.6.gz" | grep -q -- '--lang' || fail "the manual page lacks the options"
[ "$("$PROGRAM" --version)" = "korrindal $VERSION" ] ||
    fail "--version says '$("$PROGRAM" --version)', the package $VERSION"

# 5. The unpacked game played as a user.
play_installed "$PROGRAM" "$ROOT" "$OUT"

chmod -R u+w "$OUT"
echo "pass: $(basename "$DEB"); score $SCORE; replay $REPLAY"
exit 0
