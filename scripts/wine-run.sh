#!/bin/sh
# Runs a Windows program under Wine in code page 936, quietly, in the prefix given by WINEPREFIX.
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
exec env LC_ALL=zh_CN.UTF-8 wine "$@"
