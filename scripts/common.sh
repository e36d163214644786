# Shared by scripts/run, scripts/test and tests/fuzz/run: build folders, Wine
# prefix, display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KESTON_BUILD_DIR:-$root/build}
native=$build/native
export WINEPREFIX=${KESTON_WINEPREFIX:-$build/wineprefix}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# Wine spells Unix file names in the locale's character set and takes its code
# page from the locale's language: UTF-8, so that folders in any letters can
# be named, with the Western code page (a test that needs another one sets
# its own locale for that run).
export LANG=C.UTF-8 LC_ALL=C.UTF-8

# Configures a build folder from its preset once, then builds the given
# targets, or everything. A build folder other than the preset's (from
# KESTON_BUILD_DIR) is configured from the same preset.
build_preset() { # PRESET FOLDER [TARGET...]
  local preset=$1 folder=$2
  shift 2
  if [ ! -f "$folder/build.ninja" ]; then
    cmake --preset "$preset" -S "$root" -B "$folder" >/dev/null
  fi
  cmake --build "$folder" ${1:+--target "$@"} -- -k 0
}

# The Windows program and its tests (preset mingw), or the given targets.
configure_and_build() { build_preset mingw "$build" "$@"; }

# The portable part under sanitizers, its tests and the fuzz targets (preset
# native), or the given targets.
configure_and_build_native() { build_preset native "$native" "$@"; }

# A prefix of the project's own, made once: no Mono or Gecko prompts, the
# design's fonts or their metric twins, and a stand-in for "Impact", which no
# Debian package provides. The marker names the prefix's version, so a prefix
# made before a change here is brought up to it.
prefix_marker=.keston-ready-3
ensure_prefix() {
  local ready="$WINEPREFIX/$prefix_marker" fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  # A first boot that left no Windows folder (a wineserver of an earlier
  # prefix in the way) is tried once more from nothing, with its words shown.
  if [ ! -d "$fonts" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf -- "${WINEPREFIX:?}"/*
    wineboot -i || true
    [ -d "$fonts" ] || { echo "Wine could not make its prefix in $WINEPREFIX" >&2 && return 1; }
  fi
  # Debian's Wine does not look in its own font folder, so "MS Sans Serif",
  # "Wingdings" and the frame's "Marlett" would all fall back to a sans
  # serif: the prefix gets copies of them.
  cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$fonts/"
  local substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  wine reg add "$substitutes" /v Impact /t REG_SZ /d 'Liberation Sans Narrow' /f >/dev/null 2>&1
  wine reg add "$substitutes" /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif' /f >/dev/null 2>&1
  wine reg add "$substitutes" /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
  wineserver -w
  touch "$ready"
}

# Whether Wine leaves its windows to a window manager (Y, its default) or
# manages them itself (N). Without a window manager, as in a bare Xvfb, Wine
# waits 2 s for one at every hide of a window; on a desktop, windows that Wine
# manages itself have no taskbar entry.
wine_managed() { # Y|N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$1" /f >/dev/null 2>&1
}

# Starts an Xvfb on a free display and sets new_display to it (xvfb_pids
# gathers the servers). The server picks the number itself (-displayfd), so
# runs started side by side never share a display. No reset when the last
# client leaves: a test's backdrop stays between the programs it starts.
xvfb_pids=()
start_xvfb() {
  local number log pid
  number=$(mktemp) log=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$number" >"$log" 2>&1 &
  pid=$!
  xvfb_pids+=("$pid")
  for _ in $(seq 300); do
    if [ -s "$number" ]; then
      new_display=:$(head -n 1 "$number")
      if DISPLAY=$new_display xdpyinfo >/dev/null 2>&1; then
        rm -f "$number" "$log"
        return 0
      fi
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start:" >&2
  cat "$log" >&2
  rm -f "$number" "$log"
  return 1
}

# Uses the caller's display when it answers, or starts one.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  start_xvfb
  export DISPLAY=$new_display
}

# A persistent wineserver with Wine's background services already up: started
# from a test instead, the services would inherit that test's output pipe and
# CTest would wait for them forever.
start_wineserver() {
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# The seats for tests that need a display of their own (scripts/seat): the
# display and prefix in use, and on a machine with more cores one more per
# core, each with a copy of the prefix (seat_prefixes), an Xvfb and a Wine
# server of its own.
seat_prefixes=()
for ((seat = 2; seat <= $(nproc); seat++)); do seat_prefixes+=("$build/wineprefix-seat$seat"); done

# Brings each seat's prefix up to the one in use.
copy_seat_prefixes() {
  local prefix
  for prefix in "${seat_prefixes[@]}"; do
    [ ! -f "$prefix/$prefix_marker" ] || continue
    rm -rf -- "$prefix"
    cp -a --reflink=auto "$WINEPREFIX" "$prefix"
  done
}

# Starts the seats' displays and servers and names them all in KESTON_SEATS.
start_seats() {
  local seats="$DISPLAY=$WINEPREFIX" prefix
  for prefix in "${seat_prefixes[@]}"; do
    start_xvfb
    (
      export WINEPREFIX=$prefix DISPLAY=$new_display
      start_wineserver
      wine_managed N
    )
    seats+=" $new_display=$prefix"
  done
  export KESTON_SEATS=$seats
}
