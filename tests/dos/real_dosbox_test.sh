#!/usr/bin/env bash
# Runs the DOSBox configuration Korvane writes for a build step in Debian's real DOSBox,
# headless, with real 16-bit DOS tools built here by nasm (an MZ .EXE with a header of its
# own, and a .COM): the mounts, the redirected output, the exit code written by the batch file
# beside the configuration, and the exit at the end all work. Korvane writes Windows paths;
# the test turns the mounted ones into the Unix paths this DOSBox needs.
#   real_dosbox_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
trap 'echo "failed at line $LINENO: $BASH_COMMAND"' ERR
build=$1
source=$2
if ! command -v dosbox >/dev/null || ! command -v nasm >/dev/null; then
  echo "dosbox or nasm is missing"
  exit 77
fi
export WINEPREFIX=$build/wineprefix
work=$build/dosbox-real
rm -rf "$work"
mkdir -p "$work/src" "$work/tools"
nasm -f bin -o "$work/tools/MASM.EXE" "$source/tests/dos/mz_tool.asm"
nasm -f bin -o "$work/tools/LINK.COM" "$source/tests/dos/com_tool.asm"
printf 'nop\r\n' >"$work/src/HELLO.ASM"

windows() { WINEDEBUG=-all winepath -w "$1" 2>/dev/null | tr -d '\r'; }
unix() { WINEDEBUG=-all winepath -u "$1" 2>/dev/null | tr -d '\r'; }
field() { sed -n "s/^$1 //p" <<<"$2" | tr -d '\r'; }

# One step: the tool and its argument template; the exit code and a line the output must hold.
step() {
  local tool=$1 template=$2 code=$3 line=$4 out config batch
  out=$("$source/scripts/wine-run.sh" "$build/bin/dosbox_step_writer.exe" \
    "$(windows "$work/src/HELLO.ASM")" "$(windows "$work/tools/$tool")" "$template")
  config=$(unix "$(field config "$out")")
  batch=$(unix "$(field batch "$out")")
  [ -f "$config" ] && [ -f "$batch" ] || { echo "no configuration written: $out"; exit 1; }
  # The mounts with Unix paths; everything else as Korvane wrote it.
  local converted=$work/step.conf
  : >"$converted"
  while IFS= read -r raw; do
    line_=${raw%$'\r'}
    if [[ $line_ =~ ^mount\ ([a-z])\ \"?([^\"]*)\"?$ ]]; then
      printf 'mount %s "%s"\r\n' "${BASH_REMATCH[1]}" "$(unix "${BASH_REMATCH[2]}")" >>"$converted"
    else
      printf '%s\r\n' "$line_" >>"$converted"
    fi
  done <"$config"
  rm -f "$config"
  SDL_VIDEODRIVER=dummy timeout 60 dosbox -conf "$converted" >"$work/dosbox.log" 2>&1 ||
    { echo "DOSBox did not end by itself:"; cat "$work/dosbox.log"; exit 1; }
  rm -f "$batch"
  local output exitcode
  output=$(unix "$(field output "$out")")
  exitcode=$(unix "$(field exitcode "$out")")
  grep -q "$line" "$output" || { echo "KORVANE.OUT lacks '$line':"; cat "$output"; exit 1; }
  [ "$(tr -d ' \r\n' <"$exitcode")" = "$code" ] ||
    { echo "KORVANE.RET holds '$(cat "$exitcode")', not $code"; exit 1; }
  rm -f "$output" "$exitcode"
  echo "ok: $tool $template -> exit code $code"
}

step MASM.EXE '{file};' 0 'dos tool ran: HELLO.ASM;'
step MASM.EXE '7 {file};' 7 'dos tool ran: 7 HELLO.ASM;'
step LINK.COM '{name};' 0 'com tool ran: HELLO;'
