#!/usr/bin/env bash
# Runs the 8051 test programs (programs/*.asm, assembled here by Debian's as31) in
# korvane-51.exe and in Debian's s51 as a black-box reference, and compares what they sent
# through the serial port, the registers each program names and the machine cycles to its
# end (the "here: sjmp here" line). Each program's header says what to compare:
#   ; compare: A B PSW SP DPTR R0 ... R7   registers that must equal s51's
#   ; expect: R0=10 ...                     values the data sheet gives where s51 is wrong
#   ; cycles: s51 | s51+N (why)             korvane-51's cycles against s51's
#   ; cpu: 8052                             the chip (8051 when not said)
# s51 fills internal RAM with random bytes, so a program compares only what it set.
#   s51_compare_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
build=$1
source=$2
if ! command -v as31 >/dev/null || ! command -v s51 >/dev/null; then
  echo "as31 or s51 is missing"
  exit 77
fi
export WINEPREFIX=$build/wineprefix
work=$build/mcs51-compare
rm -rf "$work"
mkdir -p "$work"
failures=0

fail() {
  echo "FAIL $1: $2"
  failures=$((failures + 1))
}

# The first bytes of a file in hexadecimal, for a message.
hex() { od -An -tx1 "$1" | tr -d ' \n' | head -c 80; }

directive() { sed -n "s/^; $1: *//p" "$2" | head -1; }

# The value of one register from our --regs lines (PC=... A=... R0=... cycles=... P0=...).
ours_value() { tr ' ' '\n' <"$1" | sed -n "s/^$2=//p" | head -1; }

# The value of one register from s51's "info registers".
s51_value() {
  local log=$1 reg=$2
  case $reg in
    R[0-7]) awk -v n="${reg#R}" '/R0 R1 R2 R3/ { getline; print toupper($(n + 1)); exit }' "$log" ;;
    A) sed -n 's/.*ACC= 0x\([0-9a-f]*\).*/\1/p' "$log" | head -1 | tr a-f A-F ;;
    B) sed -n 's/.* B= 0x\([0-9a-f]*\).*/\1/p' "$log" | head -1 | tr a-f A-F ;;
    PSW) sed -n 's/.*PSW= 0x\([0-9a-f]*\).*/\1/p' "$log" | head -1 | tr a-f A-F ;;
    SP) sed -n 's/^SP 0x\([0-9a-f]*\).*/\1/p' "$log" | head -1 | tr a-f A-F ;;
    DPTR) sed -n 's/^ *DPTR= 0x\([0-9a-f]*\).*/\1/p' "$log" | head -1 | tr a-f A-F ;;
  esac
}

for asm in "$source"/tests/mcs51/programs/*.asm; do
  name=$(basename "$asm" .asm)
  before=$failures
  cp "$asm" "$work/"
  (cd "$work" && as31 -l "$name.asm" >"$name.as31.log" 2>&1) || { fail "$name" "as31 failed"; continue; }
  here=$(grep -i '^[0-9A-F]*: .*here:' "$work/$name.lst" | head -1 | cut -d: -f1)
  [ -n "$here" ] || { fail "$name" "no here: label in the listing"; continue; }
  cpu=$(directive cpu "$asm")
  printf 'break 0x%s\nrun\ninfo registers\nstate\nquit\n' "$here" >"$work/$name.cmd"
  timeout 120 s51 -b -R 1 -t "${cpu:-8051}" -X 12M -S "out=$work/$name.s51.serial" "$work/$name.hex" \
    <"$work/$name.cmd" >"$work/$name.s51.log" 2>&1 || true
  touch "$work/$name.s51.serial"
  grep -q "Breakpoint" "$work/$name.s51.log" || { fail "$name" "s51 did not reach here"; continue; }

  set +e
  variant=()
  [ "$cpu" = 8052 ] && variant=(--8052)
  timeout 120 "$source/scripts/wine-run.sh" "$build/bin/korvane-51.exe" --regs --cycles 100000000 "${variant[@]}" \
    "$(WINEDEBUG=-all winepath -w "$work/$name.hex" 2>/dev/null | tr -d '\r')" >"$work/$name.out" 2>"$work/$name.err"
  code=$?
  set -e
  [ "$code" = 0 ] || { fail "$name" "korvane-51 ended with $code: $(cat "$work/$name.err")"; continue; }
  # What the program sent ends with the line end before the "-- serial end --" line.
  sed -n '/^-- serial end --\r$/,$p' "$work/$name.out" | tail -n +2 | tr -d '\r' >"$work/$name.regs"
  total=$(wc -c <"$work/$name.out")
  regs_bytes=$(sed -n '/^-- serial end --\r$/,$p' "$work/$name.out" | wc -c)
  head -c $((total - regs_bytes - 2)) "$work/$name.out" >"$work/$name.serial"
  cmp -s "$work/$name.serial" "$work/$name.s51.serial" ||
    fail "$name" "serial output differs: ours $(hex "$work/$name.serial"), s51 $(hex "$work/$name.s51.serial")"

  for reg in $(directive compare "$asm"); do
    ours=$(ours_value "$work/$name.regs" "$reg")
    theirs=$(s51_value "$work/$name.s51.log" "$reg")
    [ "$ours" = "$theirs" ] || fail "$name" "$reg is $ours, s51 has $theirs"
  done
  for pair in $(directive expect "$asm"); do
    ours=$(ours_value "$work/$name.regs" "${pair%%=*}")
    [ "$ours" = "${pair#*=}" ] || fail "$name" "${pair%%=*} is $ours, the data sheet gives ${pair#*=}"
  done
  ticks=$(sed -n 's/^Simulated \([0-9]*\) ticks.*/\1/p' "$work/$name.s51.log" | head -1)
  rule=$(directive cycles "$asm")
  offset=0
  [[ $rule =~ ^s51([+-][0-9]+) ]] && offset=${BASH_REMATCH[1]}
  ours=$(ours_value "$work/$name.regs" cycles)
  [ "$ours" = $((ticks / 12 + offset)) ] || fail "$name" "$ours cycles, s51 $((ticks / 12)), expected s51${offset/#0/}"
  [ "$failures" != "$before" ] || echo "ok: $name ($ours cycles)"
done
[ "$failures" = 0 ] || { echo "$failures failures"; exit 1; }
