#!/usr/bin/env bash
# Each message names its real cause, against real MAME: a MAME moved away is
# said to be missing where the settings name it (not its ROM directory, which
# went with it); the path pasted in double quotes, as Explorer copies it, is
# taken without them; and sf2 without its 31 files says how many of MAME's
# lines were left out, keeping MAME's reason.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

parameters="-video none -sound none"
new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
run_mame -rompath roms -cc
run_mame -listfull >"$program_dir/gamelist"
add_roms pong sf2
write_settings "mameexe=$mame_exe_windows" "parameters=$parameters" "xp=1" "close=0"
old_exe=$mame_exe_windows
mv "$mame_dir" "$work/MAME Moved"
name_mame_folder "MAME Moved"
: >"$bridge_log"

# The program's one message box: sets box and message.
await_message() {
  wait_until 60 message_box_shown "KESTON PRIME" || die "no message came"
  box=$(message_boxes "KESTON PRIME" | head -n 1)
  message=$(message_text "$(field "$box" hwnd)")
  note "message: $message"
}

# --- MAME moved away ---------------------------------------------------------------
start_keston
await_message
expect_equal "the start names the missing MAME" "$message" \
  "MAME is not found at $old_exe. Press \"Configure \" and name it."
dismiss_message_box "$box"
find_window Form1 60
expect_equal "one message only" "$(message_boxes "KESTON PRIME")" ""

# --- the new place pasted with its quotes ----------------------------------------
click_button Configure
read_tree
panel_hwnd=$(field "$(panel1)" hwnd)
edit1=$(children parent="$panel_hwnd" class=Edit left=16 top=23)
click_control "$edit1"
press_key End shift+Home
type_text "\"$mame_exe_windows\""
click_button OK
listed_or_refused() { bridge_finished -listfull || message_box_shown "KESTON PRIME"; }
wait_until 120 listed_or_refused || die "\"OK\" neither listed MAME's games nor refused"
expect_equal "no refusal" "$(message_boxes "KESTON PRIME" | while IFS= read -r box; do
  message_text "$(field "$box" hwnd)"
done)" ""
find_window Form1 120
expect_equal "keston.ini names MAME without the quotes" "$(setting mameexe)" "$mame_exe_windows"
read_main_window
sf2=$(mame_description sf2)
expect_equal "the list is back" "$(list_rows "$list_hwnd")" \
  "$(printf '%s\n%s' "$(mame_description pong)" "$sf2")"

# --- sf2 without its files ----------------------------------------------------------
click_row "$list_hwnd" "$sf2"
click_button Play
wait_until 120 bridge_finished "sf2 $parameters" || die "MAME did not try sf2"
await_message
lines=$(sed 's/\\n/\n/g' <<<"$message")
expect_true "MAME's reason is kept" grep -qxF \
  "Fatal error: Required files are missing, the machine cannot be run." <<<"$lines"
left_out=$(sed -n 's/^(\([0-9]*\) earlier lines left out)$/\1/p' <<<"$lines")
shown=$(grep -c ' NOT FOUND ' <<<"$lines")
note "left out: $left_out, missing files shown: $shown"
expect_true "it says how many lines were left out" test "${left_out:-0}" -gt 0
expect_true "the files shown and left out are all 31" test "$((left_out + shown))" -ge 31
dismiss_message_box "$box"

e2e_finish
