#!/usr/bin/env bash
# A new MAME is noticed: keston.ini from before keeps its game list and gets
# the MAME's stamp; after the MAME executable is replaced, the next start has
# MAME write the list again before it is built (a game new to the list
# appears once MAME has written it, the start going on meanwhile); a
# replacement that writes no list, or fails after part of one, leaves the old
# list and stamp and says so in MAME's words, and the next start tries again.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
run_mame -rompath roms -cc
add_roms galaxian pong
# The list of a MAME before this one, which did not know pong yet.
run_mame -listfull | grep -v '^pong ' >"$program_dir/gamelist"
write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0"

listfull_runs() { grep -c $'^start\t.*\t-listfull$' "$bridge_log" || true; }
# Changes the executable as a new version would: another size, another time.
replace_mame() { printf 'new version' >>"$mame_dir/mame.exe"; }
pong_listed() {
  read_main_window
  list_rows "$list_hwnd" | grep -qxF 'Pong (Rev E) [TTL]'
}
stamp_is_not() { [ "$(setting mamestamp)" != "$1" ]; } # STAMP

: >"$bridge_log"
start_keston
find_window Form1
read_main_window
expect_equal "settings from before: the list as it was" "$(list_rows "$list_hwnd")" \
  "Galaxian (Namco set 1)"
expect_equal "no MAME run for it" "$(listfull_runs)" 0
stamp=$(setting mamestamp)
expect_true "the stamp of this MAME is stored" test -n "$stamp"
stop_keston

# --- a new MAME ----------------------------------------------------------------
# One that takes its time: the start goes on meanwhile, and the interpreter
# that runs MAME shows no console window over it.
replace_mame
printf '#!/bin/sh\nsleep 2\nexec /usr/games/mame "$@"\n' >"$work/slow-mame"
chmod +x "$work/slow-mame"
console_shown() { probe windows | grep -qi 'cmd\.exe'; }
KESTON_REAL_MAME=$work/slow-mame start_keston
expect_false "no console window comes up" wait_until 3 console_shown
find_window Form1 120
expect_true "the new MAME's list replaces the old one: pong appears" wait_until 120 pong_listed
read_main_window
expect_equal "the whole new list" \
  "$(list_rows "$list_hwnd")" "$(printf 'Galaxian (Namco set 1)\nPong (Rev E) [TTL]')"
expect_equal "one MAME run" "$(listfull_runs)" 1
expect_true "gamelist is the new MAME's" grep -q '^pong ' "$program_dir/gamelist"
expect_true "its stamp replaced the old one" wait_until 10 stamp_is_not "$stamp"
expect_equal "no message" "$(message_boxes "KESTON PRIME")" ""
stop_keston
start_keston
find_window Form1
expect_equal "the same MAME again: no run" "$(listfull_runs)" 1
stop_keston

# --- a new MAME that writes no list ----------------------------------------------
cp "$program_dir/gamelist" "$work/renewed-gamelist"
renewed_stamp=$(setting mamestamp)
replace_mame
printf '#!/bin/sh\necho "This MAME is broken" >&2\nexit 3\n' >"$work/broken-mame"
chmod +x "$work/broken-mame"
KESTON_REAL_MAME=$work/broken-mame start_keston
expect_true "a message comes up" wait_until 120 message_box_shown "KESTON PRIME"
boxes=$(message_boxes "KESTON PRIME")
expect_equal "exactly one message" "$(wc -l <<<"$boxes")" 1
box=$(head -n 1 <<<"$boxes")
expect_equal "it says MAME printed no list and the list stays" \
  "$(message_text "$(field "$box" hwnd)")" \
  "$mame_exe_windows did not print a MAME game list: it ended with exit code 3. The game list stays as it was.\n\nMAME said:\nThis MAME is broken"
dismiss_message_box "$box"
find_window Form1
read_main_window
expect_true "gamelist is left as it was" cmp -s "$program_dir/gamelist" "$work/renewed-gamelist"
expect_equal "and so is the list" "$(list_rows "$list_hwnd")" \
  "$(printf 'Galaxian (Namco set 1)\nPong (Rev E) [TTL]')"
expect_equal "no file left beside the program" "$(program_files)" \
  "$(printf 'gamelist\nkeston.exe\nkeston.ini')"
stop_keston
expect_equal "the old stamp stays" "$(setting mamestamp)" "$renewed_stamp"
KESTON_REAL_MAME=$work/broken-mame start_keston
expect_true "the next start tries again" wait_until 120 message_box_shown "KESTON PRIME"
expect_equal "one more MAME run" "$(listfull_runs)" 3
stop_keston

# --- a new MAME that fails after part of its list -------------------------------
# Through cmd, which hands MAME's exit code on: part of a list is no list.
printf '#!/bin/sh
/usr/games/mame -listfull | head -n 10
echo "Fatal error: out of memory" >&2
exit 3
' \
  >"$work/failing-mame"
chmod +x "$work/failing-mame"
KESTON_REAL_MAME=$work/failing-mame start_keston
expect_true "a message comes up" wait_until 120 message_box_shown "KESTON PRIME"
box=$(message_boxes "KESTON PRIME" | head -n 1)
expect_equal "it quotes MAME and keeps the list" "$(message_text "$(field "$box" hwnd)")" \
  "$mame_exe_windows failed while writing its game list: it ended with exit code 3, a fatal error occurred. The game list stays as it was.\n\nMAME said:\nFatal error: out of memory"
dismiss_message_box "$box"
expect_true "gamelist is left as it was" cmp -s "$program_dir/gamelist" "$work/renewed-gamelist"
stop_keston
expect_equal "the old stamp stays" "$(setting mamestamp)" "$renewed_stamp"

e2e_finish
