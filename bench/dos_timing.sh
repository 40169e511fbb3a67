# Shared steps of the DOS benches beside DOSBox. Sourced, not run; the bench sets work (its
# folder, DOSBox's C:), runs (how many times each is timed) and dosbox_d (DOSBox's D:).

# DOSBox: the whole run of a batch file, from start to exit, in milliseconds (median).
dosbox_ms() {
  printf '@echo off\r\n%s\r\n' "$1" >"$work/RUN.BAT"
  korvane_dosbox_conf "$work/dosbox.conf" "$work" "$dosbox_d"
  local times=() i start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    SDL_VIDEODRIVER=dummy dosbox -conf "$work/dosbox.conf" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p"
}

# The bench program in the work folder, and a field of its output.
bench() { (cd "$work" && "$KORVANE_ROOT/scripts/wine-run.sh" "$KORVANE_BUILD/bin/dos_bench.exe" "$@" | tr -d '\r'); }
field() { sed -n "s/^$1 //p" <<<"$2"; }
