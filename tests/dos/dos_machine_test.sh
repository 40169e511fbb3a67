#!/usr/bin/env bash
# korvane-dos.exe against Debian's real DOSBox 0.74: the programs of machine_cases.txt (built
# here by nasm) and the real MASM 5.10, LINK 3.65 and EXE2BIN run in both, each in a folder of
# its own; what each prints (through a pipe for korvane-dos.exe) and its return code must be
# the same, and so must every object file and program the tools make and every file of what a
# video program read back from the adapter, byte for byte. Only MASM's count of free symbol
# space, which follows free memory, may differ.
#   dos_machine_test.sh BUILD-DIR SOURCE-DIR [TOOLS-DIR]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
trap 'echo "failed at line $LINENO: $BASH_COMMAND"' ERR
build=$1
source=$2
tools=${3:-$source/../shared/dos-tools}
if ! command -v dosbox >/dev/null || ! command -v nasm >/dev/null || [ ! -f "$tools/MASM.EXE" ]; then
  echo "dosbox, nasm or the DOS tools are missing"
  exit 77
fi
tools=$(cd "$tools" && pwd)
export WINEPREFIX=$build/wineprefix
work=$build/dos-machine
rm -rf "$work"
mkdir -p "$work/dosbox" "$work/korvane"
for side in dosbox korvane; do
  for program in "$source"/tests/dos/programs/*.asm; do
    name=$(basename "$program" .asm | tr a-z A-Z)
    (cd "$source/tests/dos/programs" && nasm -f bin -o "$work/$side/$name.COM" "$program")
  done
  cp "$source"/tests/dos/masm/*.asm "$work/$side/"
  printf 'first line\r\nsecond\r\nabc' >"$work/$side/INPUT.TXT"
done

cases=()
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] || cases+=("$line")
done <"$source/tests/dos/machine_cases.txt"

# DOSBox: one run for every case, the output of case i into Oi.TXT, its code checked by
# errorlevel: Ci.TXT says "same" when it is at least the expected code, Ai.TXT "above" when
# it is more (DOSBox makes a redirection's file even when IF's condition fails).
autoexec=$work/dosbox.bat
{
  printf '@echo off\r\n'
  index=0
  for entry in "${cases[@]}"; do
    IFS='|' read -r name program tail input code <<<"$entry"
    [[ $program == @* ]] && program="D:\\${program#@}"
    redirect=""
    [ "$input" != - ] && redirect=" < $input"
    printf '%s %s%s > O%d.TXT\r\n' "$program" "$tail" "$redirect" "$index"
    printf 'if errorlevel %d echo same>C%d.TXT\r\n' "$code" "$index"
    printf 'if errorlevel %d echo above>A%d.TXT\r\n' "$((code + 1))" "$index"
    index=$((index + 1))
  done
} >"$work/dosbox/RUN.BAT"
korvane_dosbox_conf "$work/dosbox.conf" "$work/dosbox" "$tools"
SDL_VIDEODRIVER=dummy timeout 60 dosbox -conf "$work/dosbox.conf" >"$work/dosbox.log" 2>&1 ||
  { echo "DOSBox did not end by itself"; cat "$work/dosbox.log"; exit 1; }

windows() { WINEDEBUG=-all winepath -w "$1" 2>/dev/null | tr -d '\r'; }
runner=$build/bin/korvane-dos.exe
wintools=$(windows "$tools")
# Output without MASM's free-space count, which depends on the memory left.
comparable() { grep -av 'Bytes symbol space free' "$1" || true; }

failures=0
index=0
cd "$work/korvane"
for entry in "${cases[@]}"; do
  IFS='|' read -r name program tail input code <<<"$entry"
  [[ $program == @* ]] && program="$wintools\\${program#@}"
  input_file=/dev/null
  [ "$input" != - ] && input_file=$input
  # Standard output is a pipe, as in a build step; the return code comes back through a file.
  # shellcheck disable=SC2086
  {
    "$source/scripts/wine-run.sh" "$runner" "$program" $tail <"$input_file" 2>"$work/E$index.TXT" && echo 0 >"$work/R.TXT" ||
      echo $? >"$work/R.TXT"
  } | cat >"$work/O$index.TXT"
  got=$(cat "$work/R.TXT")
  verdict=ok
  if [ "$(tr -d ' \r\n' <"$work/dosbox/C$index.TXT" 2>/dev/null)" != "same" ] || [ -s "$work/dosbox/A$index.TXT" ]; then
    verdict="DOSBox's return code is not $code"
  elif [ "$got" != "$code" ]; then
    verdict="return code $got, not $code"
  elif ! diff <(comparable "$work/dosbox/O$index.TXT") <(comparable "$work/O$index.TXT") >"$work/D$index.TXT"; then
    verdict="output differs from DOSBox's:"$'\n'"$(cat -A "$work/D$index.TXT" | head -20)"
  fi
  if [ "$verdict" != ok ]; then
    failures=$((failures + 1))
    echo "FAILED $name: $verdict"
    [ -s "$work/E$index.TXT" ] && iconv -f GBK -t UTF-8 "$work/E$index.TXT" || true
  else
    echo "ok: $name"
  fi
  index=$((index + 1))
done

# What the tools made, and what the video programs read back (.VID): the same bytes whatever
# the case of the names.
for made in "$work"/dosbox/*; do
  base=$(basename "$made")
  case ${base^^} in *.OBJ | *.EXE | *.VID) ;; HELLO.COM | COMHELLO.COM) ;; *) continue ;; esac
  ours=$(find "$work/korvane" -maxdepth 1 -iname "$base" | head -1)
  if [ -z "$ours" ] || ! cmp -s "$made" "$ours"; then
    failures=$((failures + 1))
    echo "FAILED: $base differs from DOSBox's or is missing"
  else
    echo "ok: $base as DOSBox made it"
  fi
done
echo "$((index - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
