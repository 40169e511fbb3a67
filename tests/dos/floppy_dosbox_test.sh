#!/usr/bin/env bash
# Drive A: and booting against Debian's real DOSBox 0.74: DISK.COM on an empty formatted
# image (from korvane-dos.exe --make-floppy) in both, and BOOTINFO's boot sector booted in both.
# Where DOSBox answers INT 13h as Ralf Brown's list says (reset, reads, writes, verify, a
# multi-track read within the cylinder, no sectors asked for) the lines must be the same, and
# so must the images after; the boot sector must find the same DL, CS:IP, memory size, read of
# itself and a diskette drive in the equipment word. (DOSBox reads a sector past a track's end
# or a cylinder's as the next one, lacks 15h and 16h and restarts no boot sector.)
#   floppy_dosbox_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
trap 'echo "failed at line $LINENO: $BASH_COMMAND"' ERR
build=$1
source=$2
if ! command -v dosbox >/dev/null || ! command -v nasm >/dev/null; then
  echo "dosbox or nasm is missing"
  exit 77
fi
export WINEPREFIX=$build/wineprefix
runner=$build/bin/korvane-dos.exe
work=$build/dos-floppy
rm -rf "$work"
mkdir -p "$work/dosbox" "$work/korvane"
(cd "$source/tests/dos/programs" && nasm -f bin -o "$work/DISK.COM" disk.asm && nasm -f bin -o "$work/BOOTINFO.COM" bootinfo.asm)
(cd "$work" && "$source/scripts/wine-run.sh" "$runner" --make-floppy EMPTY.IMG)
for side in dosbox korvane; do
  cp "$work/DISK.COM" "$work/$side/"
  cp "$work/EMPTY.IMG" "$work/$side/A.IMG"
  cp "$work/EMPTY.IMG" "$work/$side/BOOT.IMG"
  dd if="$work/BOOTINFO.COM" of="$work/$side/BOOT.IMG" conv=notrunc status=none
done

dosbox_run() {
  local conf
  conf=$(korvane_dosbox_conf /dev/stdout "$work/dosbox" "$work")
  printf '%s\n' "${conf/call RUN.BAT/$1}" >"$work/dosbox.conf"
  SDL_VIDEODRIVER=dummy timeout "$2" dosbox -conf "$work/dosbox.conf" >"$work/dosbox.log" 2>&1 || true
}
dosbox_run $'imgmount a A.IMG -t floppy\nDISK.COM > O.TXT' 60
# The boot sector halts: DOSBox stands there until it is stopped.
dosbox_run $'imgmount a BOOT.IMG -t floppy\nboot -l a' 10
(cd "$work/korvane" && "$source/scripts/wine-run.sh" "$runner" --floppy A.IMG DISK.COM >O.TXT &&
  { "$source/scripts/wine-run.sh" "$runner" --fixed-time --boot BOOT.IMG 2>/dev/null || true; })

failures=0
check() {
  if [ -n "$2" ] && [ "$2" = "$3" ]; then
    echo "ok: $1"
  else
    failures=$((failures + 1))
    printf 'FAILED %s:\n  DOSBox:  %s\n  Korvane: %s\n' "$1" "$2" "$3"
  fi
}
common() { grep -E '^[abcdeho]:' "$1" | tr -d '\r'; }
check "INT 13h's answers" "$(common "$work/dosbox/O.TXT")" "$(common "$work/korvane/O.TXT")"
check "the image after DISK.COM" "$(md5sum <"$work/dosbox/A.IMG")" "$(md5sum <"$work/korvane/A.IMG")"
# Sector 2: DL, CS, IP, equipment word (its diskette bit alone), memory, INT 13h's AX, CF, 55AAh.
found() {
  local bytes
  bytes=$(od -An -tx1 -j512 -N16 "$1" | tr -s ' \n' ' ')
  read -r -a b <<<"$bytes"
  echo "${b[0]} ${b[1]}${b[2]} ${b[3]}${b[4]} floppy=$((0x${b[5]} & 1)) ${b[7]}${b[8]} ${b[9]}${b[10]} ${b[11]}${b[12]} ${b[13]}${b[14]}"
}
check "what the boot sector finds" "$(found "$work/dosbox/BOOT.IMG")" "$(found "$work/korvane/BOOT.IMG")"
echo "$((3 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
