#!/usr/bin/env bash
# How long the program takes to end once its main window is asked to close
# (WM_CLOSE posted by the probe, as the system's close does), from the
# request to the end of the process, while work runs beside the window:
#
#   a  the ROM folder's listing of the start, still running: a first start
#      (no gamelist yet, so the configuration panel comes up at once) with a
#      ROM folder of many files, whose listing under Wine takes tens of
#      seconds; a_busy_pct is the process's CPU use in the half second
#      before the close, the listing's
#   b  a renewal of the game list for a new MAME whose -listfull never ends
#   c  a game started with "Play" that runs on and prints nothing (a MAME
#      stand-in that sleeps for pong); c_wakeups_per_s counts how often the
#      program's threads beside the window thread woke up (Linux's context
#      switches) during one second of that game, and c_game_outlived says
#      whether the game still ran after the program's end
#
#     tests/bench/close_times.sh [KESTON_EXE [RUNS [FILES]]]
#
# Defaults: the build's keston.exe, 3 runs of each case, 100,000 ROM files.
# Prints figures, "name=value" one a line; it judges nothing.
set -euo pipefail
# A Wine prefix of its own: the windows of tests running beside it in the
# build's prefix would be taken for the program's.
root_build=$(cd "$(dirname "$0")/../.." && pwd)/build
export KESTON_WINEPREFIX=${KESTON_WINEPREFIX:-${KESTON_BUILD_DIR:-$root_build}/wineprefix-bench}
source "$(dirname "$0")/../../scripts/common.sh"
keston=${1:-}
runs=${2:-3}
files=${3:-100000}

"$root/scripts/bootstrap" >/dev/null
# Another build's keston.exe is measured with this build's probe and bridge.
if [ -z "$keston" ] || [ ! -f "$build/tests/e2e/probe.exe" ] || [ ! -f "$build/bridge/mame.exe" ]; then
  configure_and_build keston probe mame >/dev/null
fi
keston=${keston:-$build/app/keston.exe}
ensure_prefix
ensure_display
start_wineserver
# A display of our own has no window manager: Wine manages its windows.
[ -z "${xvfb_pid:-}" ] || wine_managed N
# The e2e harness starts, reads and ends the program.
source "$root/tests/e2e/lib.sh"
e2e_init "$build/tests/e2e/probe.exe" "$build/bridge" "$keston" >/dev/null
trap - ERR
[ -z "${xvfb_pid:-}" ] || on_cleanup "kill $xvfb_pid"

now_ns() { date +%s%N; }
# Posts WM_CLOSE to the main window and prints the milliseconds until the
# process ended (polled every 5 ms).
close_ms() {
  local start
  find_window Form1 60 >/dev/null
  start=$(now_ns)
  probe close "$window_hwnd" >/dev/null
  while keston_running; do sleep 0.005; done
  wait "$keston_pid" 2>/dev/null || true
  awk -v ns=$(($(now_ns) - start)) 'BEGIN { printf "%.0f", ns / 1e6 }'
}
# Voluntary and involuntary context switches of the threads of a process
# but its first, the window thread (whose Linux thread id is the process's).
switches() { # PID
  local task n=0
  for task in /proc/"$1"/task/*; do
    [ "${task##*/}" != "$1" ] || continue
    n=$((n + $(awk '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }' "$task/status")))
  done
  echo "$n"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
figures() { # NAME VALUES...
  local name=$1
  shift
  echo "${name}_runs=$*"
  echo "${name}=$(printf '%s\n' "$@" | median)"
}

# MAME stands in with a script: -listfull never ends, pong sleeps for a
# minute, printing nothing; anything else is Debian's MAME.
stand_in=$work/stand-in-mame
cat >"$stand_in" <<EOF
#!/bin/sh
case "\$1" in
-listfull | pong) echo \$\$ >>"$work/stand-ins.pid"; exec sleep 60 ;;
esac
exec /usr/games/mame "\$@"
EOF
chmod +x "$stand_in"
export KESTON_REAL_MAME=$stand_in
end_stand_ins() {
  [ ! -s "$work/stand-ins.pid" ] || kill $(cat "$work/stand-ins.pid") 2>/dev/null || true
  : >"$work/stand-ins.pid"
}
on_cleanup end_stand_ins

new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
run_mame -rompath roms -cc >/dev/null
add_roms pong
printf 'Name:             Description:\npong             "Pong (Rev E) [TTL]"\n' >"$work/gamelist"
settings() { # MAMESTAMP
  write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0" "mamestamp=$1"
}

# A settings file without a stamp takes the list as this MAME's and stores
# its stamp: with it, no renewal begins.
write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0"
cp "$work/gamelist" "$program_dir/gamelist"
start_keston >/dev/null
find_window Form1 120 >/dev/null
wait_until 30 main_list_is "Pong (Rev E) [TTL]" || die "no list at the first start"
stop_keston
stamp=$(setting mamestamp)
[ -n "$stamp" ] || die "no stamp stored"

# The many files only case a's start lists; the others have to wait for
# the listing before their window shows.
mkdir -p "$work/many"
(cd "$work/many" && seq -f 'game%06g.zip' "$files" | xargs touch --)
echo "load_before=$(cut -d' ' -f1-3 /proc/loadavg)"
echo "keston=$keston"
echo "rom_files_a=$files"

# Clock ticks of CPU time a process has used.
ticks() { awk '{ print $14 + $15 }' /proc/"$1"/stat; }

a=() busy=() b=() c=() wakeups=() outlived=()
for _ in $(seq "$runs"); do
  # a: a close while the listing runs.
  settings "$stamp"
  rm -f "$program_dir/gamelist"
  mv "$mame_dir/roms" "$work/few" && mv "$work/many" "$mame_dir/roms"
  start_keston >/dev/null
  find_window Form1 120 >/dev/null
  before=$(ticks "$keston_pid")
  sleep 0.5
  busy+=($((($(ticks "$keston_pid") - before) * 200 / $(getconf CLK_TCK))))
  a+=("$(close_ms)")
  mv "$mame_dir/roms" "$work/many" && mv "$work/few" "$mame_dir/roms"

  # b: the renewal's MAME never ends.
  settings "1 1"
  cp "$work/gamelist" "$program_dir/gamelist"
  start_keston >/dev/null
  wait_until 60 test -s "$work/stand-ins.pid" || die "no renewal began"
  b+=("$(close_ms)")
  end_stand_ins

  # c: a quiet game.
  settings "$stamp"
  start_keston >/dev/null
  find_window Form1 120 >/dev/null
  wait_until 30 main_list_is "Pong (Rev E) [TTL]" || die "no list to play from"
  click_row "$list_hwnd" "Pong (Rev E) [TTL]"
  click_button Play
  wait_until 60 test -s "$work/stand-ins.pid" || die "the game did not start"
  game=$(cat "$work/stand-ins.pid")
  sleep 1
  before=$(switches "$keston_pid")
  sleep 1
  wakeups+=($(($(switches "$keston_pid") - before)))
  c+=("$(close_ms)")
  if pgrep -f 'mame\.exe pong' >/dev/null && kill -0 "$game"; then outlived+=(1); else outlived+=(0); fi
  end_stand_ins
done

figures a_busy_pct "${busy[@]}"
figures a_close_ms "${a[@]}"
figures b_close_ms "${b[@]}"
figures c_close_ms "${c[@]}"
figures c_wakeups_per_s "${wakeups[@]}"
echo "c_game_outlived_runs=${outlived[*]}"
echo "load_after=$(cut -d' ' -f1-3 /proc/loadavg)"
