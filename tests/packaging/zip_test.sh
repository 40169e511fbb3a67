#!/usr/bin/env bash
# The zip as a Windows user unpacks it: one folder named like the zip, holding the program the
# tests ran, its two machines' console runners beside it, and the readme, whose name Windows
# reads as 说明.txt and whose text Notepad reads right; and programs that need nothing beyond
# Windows' own DLLs.
# Usage: zip_test.sh ZIP PROGRAM FOLDER README_SOURCE
set -euo pipefail
zip=$1 program=$2 folder=$3 readme_source=$4
export LC_ALL=C.UTF-8
bin=$(dirname "$program")
programs="korvane.exe korvane-dos.exe korvane-51.exe korvane-asm51.exe"
readme="$folder/说明.txt"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Prints the general-purpose flags and the name of each entry of the zip's central directory.
central_directory() {
  local b=() count size start offset n flags name_length extra_length comment_length
  mapfile -t b < <(tail -c 22 "$zip" | od -An -v -tu1 -w1)
  ((b[0] == 0x50 && b[1] == 0x4b && b[2] == 5 && b[3] == 6)) || fail "$zip does not end in a central directory"
  count=$((b[10] + 256 * b[11]))
  size=$((b[12] + 256 * b[13] + 65536 * b[14] + 16777216 * b[15]))
  start=$(($(stat -c %s "$zip") - 22 - size))
  mapfile -t b < <(tail -c $((size + 22)) "$zip" | od -An -v -tu1 -w1)
  offset=0
  for ((n = 0; n < count; n++)); do
    flags=$((b[offset + 8] + 256 * b[offset + 9]))
    name_length=$((b[offset + 28] + 256 * b[offset + 29]))
    extra_length=$((b[offset + 30] + 256 * b[offset + 31]))
    comment_length=$((b[offset + 32] + 256 * b[offset + 33]))
    printf '%d %s\n' "$flags" "$(tail -c +$((start + offset + 47)) "$zip" | head -c "$name_length")"
    offset=$((offset + 46 + name_length + extra_length + comment_length))
  done
}

[ -f "$zip" ] || fail "there is no $zip"

entries=$(unzip -Z1 "$zip" | sort)
expected=$( (for name in $programs; do echo "$folder/$name"; done; echo "$readme") | sort)
[ "$entries" = "$expected" ] || fail "the zip holds $(echo $entries) instead of $(echo $expected)"

# Without the UTF-8 flag (bit 11) Windows reads a name in the OEM code page.
readme_flags=$(central_directory | awk -v name="$readme" 'substr($0, index($0, " ") + 1) == name { print $1 }')
[ -n "$readme_flags" ] || fail "the central directory has no $readme"
((readme_flags & 0x800)) || fail "$readme is not marked as a UTF-8 name (flags $readme_flags)"

for name in $programs; do
  unzip -p "$zip" "$folder/$name" | cmp -s - "$bin/$name" || fail "the zip's $name is not $bin/$name"
done

# The readme is the current text, with a byte-order mark and CR LF line ends.
expected_readme=$(printf '\xef\xbb\xbf'; sed 's/$/\r/' "$readme_source"; echo x)
actual_readme=$(unzip -p "$zip" "$readme"; echo x)
[ "$actual_readme" = "$expected_readme" ] || fail "$readme is not $readme_source as UTF-8 with BOM and CR LF"

# The same files as the ones unpacked, as the comparison above showed.
for name in $programs; do
  imports=$(x86_64-w64-mingw32-objdump -p "$bin/$name" | awk '/DLL Name:/ { print toupper($3) }')
  [ -n "$imports" ] || fail "no imports read from $name"
  for dll in $imports; do
    case $dll in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | ADVAPI32.DLL | SHELL32.DLL | COMCTL32.DLL | COMDLG32.DLL | OLE32.DLL | IMM32.DLL | \
      WINSPOOL.DRV | WINMM.DLL | MSVCRT.DLL) ;;
    *) fail "$name needs $dll, which Windows does not bring" ;;
    esac
  done
done

echo "zip: $(stat -c %s "$zip") bytes, $(echo $entries)"
