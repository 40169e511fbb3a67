# Shared steps of the run and test commands: packages, build, private Wine prefix.
# Sourced, not run.

KORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KORVANE_BUILD=${KORVANE_BUILD:-$KORVANE_ROOT/build}
KORVANE_PACKAGES="g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 cmake googletest wine64 xvfb xauth imagemagick fonts-wqy-microhei locales nsis unzip nasm dosbox as31 sdcc-ucsim"
KORVANE_CJK_FONT="WenQuanYi Micro Hei"
# 宋体 is a font of even columns, which the editor and the console rely on.
KORVANE_CJK_MONO_FONT="WenQuanYi Micro Hei Mono"

korvane_install_missing() {
  local missing=() pkg
  for pkg in $KORVANE_PACKAGES; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
  fi
  korvane_generate_locale "$sudo"
}

# Wine takes its code page from the locale's name alone (zh_CN.UTF-8 gives 936, en_US.UTF-8
# 1252, for the tests of both), but it makes file names with characters beyond ASCII only when
# glibc has that locale; without it such a file cannot be created.
korvane_generate_locale() {
  local sudo=$1 name missing=0
  for name in zh_CN en_US; do
    locale -a 2>/dev/null | grep -qix "$name.utf8" && continue
    missing=1
    if grep -q "^# *$name.UTF-8 UTF-8" /etc/locale.gen; then
      $sudo sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    else
      echo "$name.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    fi
  done
  [ "$missing" -eq 0 ] && return 0
  echo "Generating the zh_CN.UTF-8 and en_US.UTF-8 locales"
  $sudo locale-gen >/dev/null
}


korvane_build() {
  cmake -S "$KORVANE_ROOT" -B "$KORVANE_BUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$KORVANE_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$KORVANE_BUILD" -j "$(nproc)"
}

korvane_wine() {
  WINEPREFIX="$1" "$KORVANE_ROOT/scripts/wine-run.sh" "${@:2}"
}

# Writes a headless DOSBox configuration that mounts C: and D: (the DOS tools), runs RUN.BAT
# on C: and exits: the normal core at full speed, no sound.
#   korvane_dosbox_conf FILE C-FOLDER D-FOLDER
korvane_dosbox_conf() {
  cat >"$1" <<CONF
[sdl]
output=surface
[dosbox]
memsize=16
[cpu]
core=normal
cycles=max
[mixer]
nosound=true
[speaker]
pcspeaker=false
[autoexec]
mount c "$2"
mount d "$3"
c:
call RUN.BAT
exit
CONF
}

# The faces programs ask for, each to a font with Chinese of the same kind (of even columns
# for 宋体), and the console's font; one import, so a prefix made earlier gets them too.
korvane_prefix_fonts() {
  local prefix=$1 face file
  file=$(mktemp --suffix=.reg)
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for face in "宋体" "新宋体" "SimSun" "NSimSun"; do
      printf '"%s"="%s"\r\n' "$face" "$KORVANE_CJK_MONO_FONT"
    done
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS Sans Serif"; do
      printf '"%s"="%s"\r\n' "$face" "$KORVANE_CJK_FONT"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Console]\r\n"FaceName"="%s"\r\n' "$KORVANE_CJK_MONO_FONT"
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$file"
  korvane_wine "$prefix" regedit /S "Z:${file//\//\\}" >/dev/null 2>&1 || true
  rm -f "$file"
}

# Makes the prefix on first use: code page 936, Chinese fonts, and the display driver
# asked for ("null" for headless tests, "x11" for a real or virtual display).
korvane_prepare_prefix() {
  local prefix=$1 driver=$2
  if [ ! -f "$prefix/system.reg" ]; then
    echo "Preparing Wine prefix $prefix (first start takes a while)"
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=" WINEDEBUG=-all \
      env LC_ALL=zh_CN.UTF-8 wineboot -i >/dev/null 2>&1
  fi
  korvane_prefix_fonts "$prefix"
  # Shortcuts and file types made in the prefix stay there, out of the desktop's own menus.
  korvane_wine "$prefix" reg add "HKCU\\Software\\Wine\\DllOverrides" /v winemenubuilder.exe /d "" /f >/dev/null 2>&1 || true
  # A crashing program ends instead of waiting in the debugger.
  korvane_wine "$prefix" reg delete "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Debugger /f >/dev/null 2>&1 || true
  if [ "$driver" = null ]; then
    korvane_wine "$prefix" reg add "HKCU\\Software\\Wine\\Drivers" /v Graphics /d null /f >/dev/null 2>&1 || true
  else
    korvane_wine "$prefix" reg delete "HKCU\\Software\\Wine\\Drivers" /v Graphics /f >/dev/null 2>&1 || true
  fi
  WINEPREFIX="$prefix" wineserver -w
}
