#!/usr/bin/env bash
# Makes the build's Wine prefix once: German locale, no window decorations from a
# window manager (Wine draws the captions), no menu builder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${VELMORA_WINEPREFIX:?}"
source "$here/wine-env.sh"
# Wine's 32-bit part is a 32-bit Linux program. A kernel without 32-bit emulation
# (switched off at boot, or built without it) refuses it with "Exec format error",
# and every later Wine call would fail without saying why.
if ! wine --version >/dev/null 2>&1; then
  echo "Wine does not start on this machine: $(wine --version 2>&1 | tail -n 1)" >&2
  if [ -e /lib/ld-linux.so.2 ] && ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "This kernel does not run 32-bit programs (32-bit emulation is off; the boot option ia32_emulation=on switches it on)." >&2
    echo "test.sh and run.sh build and run the 64-bit stand-in there (tools/windows-target.sh)." >&2
  fi
  exit 1
fi
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
  rm -rf "$WINEPREFIX"
  env LC_ALL=de_DE.UTF-8 wineboot -i >/dev/null 2>&1 || true
  velmora_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  velmora_wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.velmora-ready"
fi
# Unmanaged windows: without a window manager, Wine would otherwise wait two
# seconds for every window it hides. Also applied to prefixes made before.
if [ ! -f "$WINEPREFIX/.velmora-unmanaged" ]; then
  velmora_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.velmora-unmanaged"
fi
# Wine's own fonts in the prefix's Fonts folder: without them "MS Sans Serif"
# falls back to an anti-aliased outline font and the caption buttons lose their
# Marlett symbols. Also applied to prefixes made before.
wine_fonts=/usr/share/wine/fonts
if [ ! -f "$wine_fonts/marlett.ttf" ] || [ ! -f "$wine_fonts/sserife.fon" ]; then
  echo "Wine's fonts are missing in $wine_fonts: install the package fonts-wine (tools/setup.sh)" >&2
  exit 1
fi
prefix_fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$prefix_fonts"
for f in "$wine_fonts"/*; do
  [ -e "$prefix_fonts/$(basename "$f")" ] || cp "$f" "$prefix_fonts/"
done
# Title bar colours of the desktops the program was made for (white caption text
# on dark blue, grey when inactive): Wine's own scheme writes black caption text,
# which the gradient caption bar, starting from black, would hide. Also applied to
# prefixes made before.
if [ ! -f "$WINEPREFIX/.velmora-caption-colours" ]; then
  colours='HKCU\Control Panel\Colors'
  velmora_wine reg add "$colours" /v ActiveTitle /d '0 0 128' /f >/dev/null 2>&1
  velmora_wine reg add "$colours" /v TitleText /d '255 255 255' /f >/dev/null 2>&1
  velmora_wine reg add "$colours" /v InactiveTitle /d '128 128 128' /f >/dev/null 2>&1
  velmora_wine reg add "$colours" /v InactiveTitleText /d '192 192 192' /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.velmora-caption-colours"
fi
# A program that crashes ends with Wine's backtrace on its error output instead of
# a crash dialog that nobody closes (a test would wait for its time limit). Also
# applied to prefixes made before.
if [ ! -f "$WINEPREFIX/.velmora-no-crash-dialog" ]; then
  velmora_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.velmora-no-crash-dialog"
fi
