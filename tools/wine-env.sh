# Sourced: the environment every Wine call of this project runs in.
export WINEPREFIX="$VELMORA_WINEPREFIX"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no menu entries in the user's own desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# German number, date and list formats; passed per call, since the host may not
# have the locale generated and the shell would warn on every assignment.
velmora_wine() { env LC_ALL=de_DE.UTF-8 wine "$@"; }
