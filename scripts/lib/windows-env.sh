# The Windows side of PAGE's tests: MinGW-w64, Wine, a private Wine prefix
# and a private X display.  Source this file (bash), then call:
#
#   page_windows_setup     install what is missing (as root), generate the
#                          ja_JP.UTF-8 locale, start a private Xvfb display,
#                          create the Wine prefix build/windows/wineprefix
#                          once, start a persistent wineserver; installs an
#                          EXIT trap that calls page_windows_teardown
#   page_windows_test      configure the windows preset, build, check the
#                          DLLs page.exe imports, run the Windows suite
#                          under Wine with CTest, then build page.exe and
#                          simcad.exe with the other toolchains of
#                          tests/toolchains/
#   page_windows_teardown  stop wineserver and the Xvfb display (idempotent)
#
# Every function returns non-zero on failure; none of them sets shell options.
# PAGE_WINDOWS_DISPLAY=:N uses that display instead of a private Xvfb.

PAGE_XVFB_PID=${PAGE_XVFB_PID:-}
PAGE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
PAGE_WINDOWS_BUILD="${PAGE_WINDOWS_BUILD:-$PAGE_ROOT/build/windows}"
PAGE_WINE_RUN="$PAGE_ROOT/scripts/wine-run"
PAGE_WINE_REGISTRY="$PAGE_ROOT/scripts/lib/wine-prefix.reg"
PAGE_WINDOWS_PACKAGES="cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev clang lld wine wine64 xvfb
  xauth fonts-ipafont-gothic fonts-wine imagemagick x11-utils locales googletest poppler-utils"

source "$PAGE_ROOT/scripts/lib/packages.sh"

page_windows_log() { echo "windows-env: $*" >&2; }

page_windows_display() {
  if [ -n "${PAGE_WINDOWS_DISPLAY:-}" ]; then
    export DISPLAY="${PAGE_WINDOWS_DISPLAY:-}"
    return 0
  fi
  [ -n "$PAGE_XVFB_PID" ] && kill -0 "$PAGE_XVFB_PID" 2>/dev/null && return 0
  local number=97
  while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
    number=$((number + 1))
  done
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -ac >/dev/null 2>&1 &
  PAGE_XVFB_PID=$!
  export DISPLAY=":$number"
  local tries=0
  until xdpyinfo >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$PAGE_XVFB_PID" 2>/dev/null; then
      page_windows_log "Xvfb did not start on $DISPLAY"
      return 1
    fi
    sleep 0.1
  done
}

# Created once per build directory; the registry file is imported again
# whenever it changes.
page_windows_prefix() {
  export WINEPREFIX="$PAGE_WINDOWS_BUILD/wineprefix"
  local stamp="$WINEPREFIX/.page-registry-imported"
  if [ -f "$stamp" ] && [ "$stamp" -nt "$PAGE_WINE_REGISTRY" ]; then
    return 0
  fi
  mkdir -p "$PAGE_WINDOWS_BUILD" || return 1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    page_windows_log "creating the Wine prefix $WINEPREFIX"
    PAGE_WINE_INIT=1 "$PAGE_WINE_RUN" wineboot -i >/dev/null 2>&1 || return 1
    wineserver -w || return 1
  fi
  local registry
  registry=$(WINEDEBUG=-all winepath -w "$PAGE_WINE_REGISTRY" 2>/dev/null) || return 1
  "$PAGE_WINE_RUN" reg import "$registry" >/dev/null 2>&1 || return 1
  # The registry reaches the prefix's files when the server ends.
  wineserver -w || return 1
  touch "$stamp"
}

# Debian's Wine does not find the fonts of its own data folder, so Marlett,
# the face of the caption buttons' symbols, falls back to a text face and
# the buttons show letters. In the prefix's Fonts folder it is found.
page_windows_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts" || return 1
  cp -u /usr/share/wine/fonts/marlett.ttf "$fonts/" || return 1
}

page_windows_teardown() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
  fi
  if [ -n "$PAGE_XVFB_PID" ]; then
    kill "$PAGE_XVFB_PID" 2>/dev/null
    wait "$PAGE_XVFB_PID" 2>/dev/null
    PAGE_XVFB_PID=
  fi
  return 0
}

page_windows_setup() {
  # shellcheck disable=SC2086
  page_ensure_packages $PAGE_WINDOWS_PACKAGES || return 1
  # Wine takes its ANSI code page from the Unix locale: ja_JP.UTF-8 gives 932.
  page_ensure_locale ja_JP.UTF-8 || return 1
  # Keep whatever EXIT trap the caller had.
  local previous
  previous=$(trap -p EXIT | sed -e "s/^trap -- '//" -e "s/' EXIT\$//")
  trap "page_windows_teardown${previous:+; $previous}" EXIT
  page_windows_display || return 1
  page_windows_prefix || return 1
  page_windows_fonts || return 1
  # One server for the whole run instead of one per test program.
  wineserver -p || return 1
  # Start Wine's services and desktop now, detached from our output: started
  # by the first test they would inherit CTest's pipes and hold it waiting.
  "$PAGE_WINE_RUN" wineboot </dev/null >/dev/null 2>&1 || return 1
}

# page.exe is unzipped anywhere, Downloads included, so every DLL it imports
# must be one the loader takes from the system whatever lies beside it: a
# known DLL, or comctl32, which the manifest binds to the side-by-side
# version 6. Every other DLL is loaded at run time from System32.
PAGE_SYSTEM_IMPORTS="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll rpcrt4.dll shell32.dll shlwapi.dll user32.dll"

page_windows_check_imports() {
  local imports dll status=0
  imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
  [ -n "$imports" ] || { page_windows_log "no import table in $1"; return 1; }
  for dll in $imports; do
    case " $(echo $PAGE_SYSTEM_IMPORTS) " in
      *" $dll "*) ;;
      *) page_windows_log "$1 imports $dll, which the loader may take from the program's folder"; status=1 ;;
    esac
  done
  return $status
}

page_windows_test() {
  (cd "$PAGE_ROOT" &&
    cmake --preset windows >/dev/null &&
    cmake --build --preset windows &&
    page_windows_check_imports build/windows/bin/page.exe &&
    ctest --preset windows --timeout 120) || return 1
  page_windows_other_builds
}

# page.exe and simcad.exe once more: with a toolchain file that names only
# the compilers, as CMake has it on Windows, and with clang, whose checks
# differ from GCC's.
page_windows_other_builds() {
  local toolchain name
  for toolchain in MinGWCompilersOnly ClangMinGW; do
    name="$PAGE_ROOT/build/windows-$toolchain"
    echo "== page.exe and simcad.exe built with tests/toolchains/$toolchain.cmake"
    cmake -S "$PAGE_ROOT" -B "$name" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGE_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$PAGE_ROOT/tests/toolchains/$toolchain.cmake" >/dev/null || return 1
    cmake --build "$name" --target page simcad || return 1
    page_windows_check_imports "$name/bin/page.exe" || return 1
  done
}
