# Sourced by the Wine scripts: a quiet Wine that looks for no add-ons it
# cannot download, in the prefix given by PRAVEL_WINEPREFIX.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEARCH=win64
# Names pass between Linux and Wine in UTF-8 whatever the caller's locale.
export LC_ALL=C.UTF-8
if [ -n "${PRAVEL_WINEPREFIX:-}" ]; then
  export WINEPREFIX="$PRAVEL_WINEPREFIX"
fi
WINE=$(command -v wine64 || command -v wine)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver64
export WINE WINESERVER
