#!/bin/sh
# Runs a Windows program under Wine, quietly, in the prefix given by WINEPREFIX. The system
# code page follows the locale: zh_CN.UTF-8 (code page 936) unless KORVANE_WINE_LOCALE names
# another, such as en_US.UTF-8 (code page 1252).
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
locale="${KORVANE_WINE_LOCALE:-zh_CN.UTF-8}"
# Without address-space randomisation Wine never fails now and then to map its shared data
# when it starts a child process.
if setarch "$(uname -m)" -R true 2>/dev/null; then
  exec setarch "$(uname -m)" -R env LC_ALL="$locale" wine "$@"
fi
exec env LC_ALL="$locale" wine "$@"
