#!/bin/sh
# Runs a Windows program under Wine in code page 936, quietly, in the prefix given by WINEPREFIX.
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# Without address-space randomisation Wine never fails now and then to map its shared data
# when it starts a child process.
if setarch "$(uname -m)" -R true 2>/dev/null; then
  exec setarch "$(uname -m)" -R env LC_ALL=zh_CN.UTF-8 wine "$@"
fi
exec env LC_ALL=zh_CN.UTF-8 wine "$@"
