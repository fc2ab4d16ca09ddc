# Sourced: the environment every Wine call of this project runs in.
export WINEPREFIX="$VELMORA_WINEPREFIX"
# A prefix made before keeps its kind, whoever calls.
if [ -z "${VELMORA_WINEARCH:-}" ] && grep -qs '^#arch=win64' "$WINEPREFIX/system.reg"; then
  VELMORA_WINEARCH=win64
fi
export WINEARCH=${VELMORA_WINEARCH:-win32}
# The 64-bit stand-in (tools/windows-target.sh): Debian's wine and wine-stable
# scripts start the 32-bit loader whenever it is installed, so that 64-bit Wine is
# reached through two small scripts of our own, first on the path.
if [ "$WINEARCH" = win64 ]; then
  velmora_wine64_bin="$(dirname "$WINEPREFIX")/wine64-bin"
  if [ ! -x "$velmora_wine64_bin/wine-stable" ]; then
    mkdir -p "$velmora_wine64_bin"
    for velmora_name in wine wine-stable; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$velmora_wine64_bin/$velmora_name.tmp"
      chmod +x "$velmora_wine64_bin/$velmora_name.tmp"
      mv "$velmora_wine64_bin/$velmora_name.tmp" "$velmora_wine64_bin/$velmora_name"
    done
  fi
  export PATH="$velmora_wine64_bin:$PATH"
  export WINELOADER=/usr/lib/wine/wine64
fi
export WINEDEBUG=-all
# The X libraries look for the user's resource files again and again when none
# is named (thousands of times per start under Xvfb); a file of our own is read
# once, so that no start is slowed, and no measurement inflated, by the search.
export XENVIRONMENT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/velmora.Xresources"
# No Mono or Gecko install prompts, and no menu entries in the user's own desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# German number, date and list formats; passed per call, since the host may not
# have the locale generated and the shell would warn on every assignment.
velmora_wine() { env LC_ALL=de_DE.UTF-8 wine "$@"; }
