#!/usr/bin/env bash
# "Play" against real MAME: a game MAME cannot run is reported with the exit
# code in words and MAME's own last lines (an empty pacman.zip: required files
# are missing; a device row: no such system); a description far too long for
# the screen leaves the box, its button and MAME's reason on the screen; a
# game that runs says nothing and shows no console window; the window stays
# usable while MAME runs, and closing the program leaves MAME running to its
# end. Nothing is written for it.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

parameters="-video none -sound none -seconds_to_run 4"
new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
run_mame -listfull >"$program_dir/gamelist"
# Galaga's description made about 5,000 characters long.
long_description="Galaga (Namco rev. B)"
for _ in $(seq 100); do long_description+=" with a description far too long for the screen"; done
sed -i "s/^galaga  *\"Galaga (Namco rev. B)\"\$/galaga           \"$long_description\"/" \
  "$program_dir/gamelist"
grep -qF "$long_description" "$program_dir/gamelist" || die "no long description in the gamelist"
run_mame -rompath roms -cc
add_roms namco51 pacman pong galaga
write_settings "mameexe=$mame_exe_windows" "parameters=$parameters" "xp=1" "close=0"
: >"$bridge_log"

# How many times MAME started or ended pong, by the bridge's log.
pong_calls() { # start|exit\ 0 COUNT
  [ "$(grep -c "^$1"$'\t.*\tpong ' "$bridge_log")" -ge "$2" ]
}

# Plays the row showing TEXT and waits for MAME to end with that game.
play() { # TEXT SHORT_NAME
  find_window Form1
  read_main_window
  click_row "$list_hwnd" "$1"
  click_button Play
  wait_until 120 bridge_finished "$2 $parameters" || die "MAME did not play $2"
}

# The one message box that comes after MAME ended: sets box and message.
await_message() {
  wait_until 30 message_box_shown "KESTON PRIME" || die "no message after MAME ended"
  boxes=$(message_boxes "KESTON PRIME")
  expect_equal "one message" "$(wc -l <<<"$boxes")" 1
  box=$(head -n 1 <<<"$boxes")
  message=$(message_text "$(field "$box" hwnd)")
  note "message: $message"
}

start_keston

# --- missing ROM files ---------------------------------------------------------
play "Pac-Man (Midway)" pacman
expect_equal "MAME ended with 2" "$(bridge_exit_code "pacman $parameters")" 2
await_message
expect_true "the message names the game and says exit code 2 in words" grep -qF \
  "Pac-Man (Midway) (pacman): MAME ended with exit code 2, required files are missing." <<<"$message"
expect_true "it quotes MAME's reason" grep -qF \
  "Fatal error: Required files are missing, the machine cannot be run." <<<"$message"
expect_true "and MAME's last missing file" grep -qF "82s126.3m NOT FOUND" <<<"$message"
park_pointer
take_screenshot missing-files
dismiss_message_box "$box"

# The window has the keys back: typing finds a game.
find_window Form1
type_text pong
read_main_window
expect_equal "after the message, typing finds a game" "$(selected_row)" "Pong (Rev E) [TTL]"

# --- a device, which MAME lists but cannot run ---------------------------------
play "Namco 51xx" namco51
await_message
expect_true "a device row: MAME knows no such system" grep -qF \
  "Namco 51xx (namco51): MAME ended with exit code 5, MAME knows no such system." <<<"$message"
expect_true "in MAME's words" grep -qF "Unknown system 'namco51'" <<<"$message"
expect_false "without MAME's list of similar names" grep -qF "approximately matches" <<<"$message"
dismiss_message_box "$box"

# --- a description too long for the screen --------------------------------------
# Whether the probe line's window lies on the screen.
on_screen() { # PROBE_LINE
  local x y
  x=$(field "$1" x)
  y=$(field "$1" y)
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + $(field "$1" w))) -le "$screen_w" ] &&
    [ $((y + $(field "$1" h))) -le "$screen_h" ]
}
play "$long_description" galaga
await_message
read_screen
expect_true "the box lies on the screen ($(field "$box" w)x$(field "$box" h))" on_screen "$box"
ok_button=$(probe tree "$(field "$box" hwnd)" | awk -F'\t' '$1 == "child" && index($0, "\tclass=Button\t")')
expect_true "its button is shown" test -n "$ok_button"
expect_true "and lies within the box" test \
  $(($(field "$ok_button" y) + $(field "$ok_button" h))) -le $(($(field "$box" h) - 4))
expect_true "the message begins with the description" grep -qF \
  "Galaga (Namco rev. B) with a description" <<<"$message"
expect_true "it still says why, in MAME's words" grep -qF \
  'required files are missing.\n\nMAME said:' <<<"$message"
expect_true "to the end" grep -qF \
  "Fatal error: Required files are missing, the machine cannot be run." <<<"$message"
park_pointer
take_screenshot long-description
note "screenshot: $shot"
dismiss_message_box "$box"

# --- a game that runs ------------------------------------------------------------
# Only keston's own windows: no console window.
only_keston_windows() {
  probe windows | awk -F'\t' -v pid="$(field "$(visible_window Form1)" pid)" '
    { for (i = 1; i <= NF; i++) if ($i ~ /^pid=/) p = substr($i, 5) }
    p != pid { found = 1; print }
    END { exit found }'
}
find_window Form1
read_main_window
click_row "$list_hwnd" "Pong (Rev E) [TTL]"
click_button Play
wait_until 60 pong_calls start 1 || die "MAME did not start pong"
expect_true "no console window while MAME runs" only_keston_windows
# Real MAME holds the X input while it runs, so the window is asked from
# outside: a user-interface thread that waited for MAME would not answer.
asked=$(date +%s%N)
read_main_window
answered=$((($(date +%s%N) - asked) / 1000000))
expect_true "the window answers at once while MAME runs (${answered} ms)" test "$answered" -lt 1500
expect_false "MAME was still running then" pong_calls "exit 0" 1
wait_until 60 pong_calls "exit 0" 1 || die "pong did not end"
sleep 2
expect_equal "a good end says nothing" "$(message_boxes "KESTON PRIME")" ""

# --- closing the program leaves MAME running ---------------------------------------
click_row "$list_hwnd" "Pong (Rev E) [TTL]"
click_button Play
wait_until 60 pong_calls start 2 || die "no second pong"
# Real MAME holds the X input while it runs: the window is closed from
# outside, as its "X" closes it.
probe close Form1
wait_until 30 keston_ended || die "closing did not end the program"
mame_running() { pgrep -f "mame.exe pong" >/dev/null; }
expect_true "MAME runs on after the program ended" mame_running
expect_true "and plays to its end" wait_until 60 pong_calls "exit 0" 2
expect_equal "nothing was written beside the program" "$(program_files)" \
  "$(printf 'gamelist\nkeston.exe\nkeston.ini')"

e2e_finish
