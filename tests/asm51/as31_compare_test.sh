#!/usr/bin/env bash
# Assembles the 8051 programs with korvane-asm51.exe and with Debian's as31 as a black-box
# reference, and compares the bytes each HEX file puts at each address. The record layout is
# left out of it: both write valid Intel HEX, but as31 cuts its records at other points (at an
# .org, and after a .word), so equal programs need not give equal lines.
#   - every as31-syntax program (tests/mcs51/programs/*.asm, tests/asm51/programs/*.asm): both
#     assemblers on the same source;
#   - every ASM51-syntax program (tests/asm51/programs/NAME.a51): korvane-asm51 on it, as31 on
#     NAME.asm, the same program in as31's syntax; then korvane-51.exe runs our HEX, which must
#     leave the registers its "; expect:" line names and send its "; output:" text.
#   as31_compare_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
build=$1
source=$2
if ! command -v as31 >/dev/null; then
  echo "as31 is missing"
  exit 77
fi
export WINEPREFIX=$build/wineprefix
work=$build/asm51-compare
rm -rf "$work"
mkdir -p "$work/as31" "$work/ours"
failures=0

fail() {
  echo "FAIL $1: $2"
  failures=$((failures + 1))
}

# "ADDRESS BYTE" for each data byte of an Intel HEX file, in address order.
hex_bytes() {
  tr -d '\r' <"$1" | while IFS= read -r line; do
    [ "${line:0:1}" = : ] && [ "${line:7:2}" = 00 ] || continue
    count=$((16#${line:1:2}))
    address=$((16#${line:3:4}))
    for ((i = 0; i < count; i++)); do
      printf '%04X %s\n' $((address + i)) "${line:$((9 + 2 * i)):2}"
    done
  done | sort
}

directive() { sed -n "s/^; $1: *//p" "$2" | head -1; }

# as31 on NAME.asm in its folder; it reports its faults on its output, not in its exit code.
as31_hex() {
  local asm=$1 name
  name=$(basename "$asm" .asm)
  cp "$asm" "$work/as31/"
  (cd "$work/as31" && as31 "$name.asm" >"$name.log" 2>&1) || true
  ! grep -qi 'error\|warning' "$work/as31/$name.log" || { echo "as31: $(grep -i 'error\|warning' "$work/as31/$name.log" | head -1)"; return 1; }
  echo "$work/as31/$name.hex"
}

# korvane-asm51 on a source in our folder (with the include files beside it).
ours_hex() {
  local file=$1 base
  base=${file%.*}
  cp "$file" "$work/ours/"
  cp "$(dirname "$file")"/*.inc "$work/ours/" 2>/dev/null || true
  (cd "$work/ours" && "$source/scripts/wine-run.sh" "$build/bin/korvane-asm51.exe" "$(basename "$file")" >"$(basename "$base").log" 2>&1) ||
    { echo "korvane-asm51: $(tr -d '\r' <"$work/ours/$(basename "$base").log" | head -3)"; return 1; }
  echo "$work/ours/$(basename "$base").hex"
}

compare() {
  local name=$1 theirs=$2 ours=$3
  if ! diff <(hex_bytes "$theirs") <(hex_bytes "$ours") >"$work/$name.diff"; then
    fail "$name" "the bytes differ (address byte, as31 < > ours): $(head -4 "$work/$name.diff" | tr '\n' ' ')"
    return 1
  fi
}

# Runs our HEX of an ASM51-syntax program and checks its registers and serial output.
run_check() {
  local name=$1 a51=$2 hex=$3 out pair reg value
  out=$(timeout 120 "$source/scripts/wine-run.sh" "$build/bin/korvane-51.exe" --regs \
    "$(WINEDEBUG=-all winepath -w "$hex" 2>/dev/null | tr -d '\r')" 2>&1 | tr -d '\r') || { fail "$name" "korvane-51 did not end: $out"; return; }
  # What the program sent comes before the "-- serial end --" line, the registers after it.
  local regs sent
  regs=$(sed -n '/^-- serial end --$/,$p' <<<"$out" | tail -n +2)
  sent=$(sed '/^-- serial end --$/,$d' <<<"$out" | head -n 1)
  for pair in $(directive expect "$a51"); do
    reg=${pair%%=*}
    value=$(tr ' ' '\n' <<<"$regs" | sed -n "s/^$reg=//p" | head -1)
    [ "$value" = "${pair#*=}" ] || fail "$name" "$reg is $value, the program expects ${pair#*=}"
  done
  local expected
  expected=$(directive output "$a51")
  [ -z "$expected" ] || [ "$sent" = "$expected" ] || fail "$name" "sent '$sent', expected '$expected'"
}

for asm in "$source"/tests/mcs51/programs/*.asm "$source"/tests/asm51/programs/*.asm; do
  name=$(basename "$asm" .asm)
  before=$failures
  theirs=$(as31_hex "$asm") || { fail "$name" "$theirs"; continue; }
  ours=$(ours_hex "$asm") || { fail "$name" "$ours"; continue; }
  compare "$name" "$theirs" "$ours" || continue
  [ "$failures" != "$before" ] || echo "ok: $name ($(hex_bytes "$ours" | wc -l) bytes)"
done

for a51 in "$source"/tests/asm51/programs/*.a51; do
  name=$(basename "$a51" .a51)
  before=$failures
  twin=${a51%.a51}.asm
  [ -f "$twin" ] || { fail "$name" "no $name.asm in as31's syntax beside it"; continue; }
  theirs=$(as31_hex "$twin") || { fail "$name" "$theirs"; continue; }
  ours=$(ours_hex "$a51") || { fail "$name.a51" "$ours"; continue; }
  compare "$name.a51" "$theirs" "$ours" || continue
  run_check "$name.a51" "$a51" "$ours"
  [ "$failures" != "$before" ] || echo "ok: $name.a51 (as31's $name.asm, and it runs)"
done
[ "$failures" = 0 ] || { echo "$failures failures"; exit 1; }
