#!/usr/bin/env bash
# A first run as a user makes it, with clicks and keys only: from an empty
# program folder the user names MAME in the configuration panel and presses
# "OK"; real MAME writes the game list, the list fills from the ROM folder,
# and "Play" has MAME play the selected game, after which the front-end closes.
# The system has no command.com, so the first "OK" needs no tick; unticked,
# "OK" says once that "command" is missing and stays in the panel.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
run_mame -rompath roms -cc
add_roms pong breakout 1942 pacman
: >"$bridge_log"

# The current state of a child window of $tree, read afresh.
current() { # PROBE_LINE
  read_tree
  children hwnd="$(field "$1" hwnd)"
}

start_keston
find_window Form1

# --- the configuration panel --------------------------------------------------
read_tree
panel=$(panel1)
expect_equal "first start shows the configuration panel" "$(field "$panel" visible)" 1
panel_hwnd=$(field "$panel" hwnd)
edit1=$(children parent="$panel_hwnd" class=Edit left=16 top=23)
edit2=$(children parent="$panel_hwnd" class=Edit left=16 top=87)
xp=$(children parent="$panel_hwnd" class=Button text="Using Windows XP/2000")
close1=$(children parent="$panel_hwnd" class=Button text="Close After Playing")

parameters="-video none -sound none -seconds_to_run 1"
click_control "$edit1"
type_text "$mame_exe_windows"
click_control "$edit2"
type_text "$parameters"
expect_equal "the MAME path typed into \"MAME Exe File:\"" \
  "$(field "$(current "$edit1")" text)" "$mame_exe_windows"
expect_equal "the parameters typed" "$(field "$(current "$edit2")" text)" "$parameters"
expect_false "the system has no command.com" \
  test -e "$(wine_do winepath -u 'C:\windows\system32\command.com')"
expect_equal "\"Using Windows XP/2000\" ticked from the start" "$(field "$(current "$xp")" check)" 1
expect_equal "\"Close After Playing\" ticked by default" "$(field "$(current "$close1")" check)" 1
[ "$failures" -eq 0 ] || die "the panel is not filled in as the user did: \"OK\" would test nothing"

park_pointer
take_screenshot panel
expect_true "\"OK\" drawn in lime" test "$(count_pixels 221 326 73 22 0 255 0)" -gt 10
expect_true "the typed path shows in the silver edit field" \
  test "$(count_pixels 53 96 225 21 0 0 0)" -gt 20
expect_equal "nothing written before \"OK\"" "$(program_files)" keston.exe

# --- unticked: "command" is missing, said once ------------------------------------
click_control "$xp"
click_button OK
expect_true "a message comes up" wait_until 30 message_box_shown "KESTON PRIME"
boxes=$(message_boxes "KESTON PRIME")
box=$(head -n 1 <<<"$boxes")
expect_equal "it names the missing interpreter and the box to tick" \
  "$(message_text "$(field "$box" hwnd)")" \
  "MAME did not write its game list: the command interpreter \"command\" was not found. Tick \"Using Windows XP/2000\" to run MAME through \"cmd\". The game list stays as it was."
dismiss_message_box "$box"
expect_false "no second message" wait_until 3 message_box_shown "KESTON PRIME"
expect_equal "the panel stays" "$(field "$(current "$panel")" visible)" 1
expect_false "no gamelist written" test -e "$program_dir/gamelist"
expect_equal "MAME was not run" "$(grep -c '^start' "$bridge_log" || true)" 0
click_control "$xp"
expect_equal "\"Using Windows XP/2000\" ticked again" "$(field "$(current "$xp")" check)" 1

# --- "OK": real MAME writes the game list --------------------------------------
click_button OK
# The window is hidden and the program blocked while MAME writes the list:
# its windows are read only once it is shown again.
wait_until 120 bridge_finished -listfull || die "\"OK\" did not have MAME list its games"
expect_equal "MAME's -listfull ended well" "$(bridge_exit_code -listfull)" 0
find_window Form1 120
expect_equal "gamelist holds MAME's whole list" "$(wc -l <"$program_dir/gamelist")" 45295
expect_true "gamelist is real MAME's -listfull output" \
  cmp -s "$program_dir/gamelist" <(/usr/games/mame -listfull 2>/dev/null)
expect_equal "keston.ini names MAME" "$(setting mameexe)" "$mame_exe_windows"
expect_equal "keston.ini holds the parameters" "$(setting parameters)" "$parameters"
expect_equal "keston.ini holds xp=1" "$(setting xp)" 1
expect_equal "keston.ini holds close=1" "$(setting close)" 1

read_tree
list=$(listbox1)
list_hwnd=$(field "$list" hwnd)
expected=$(for game in 1942 breakout pacman pong; do mame_description "$game"; done)
expect_equal "ListBox1 shows the games of the ROM folder" "$(list_rows "$list_hwnd")" "$expected"
expect_equal "the panel is gone" "$(field "$(panel1)" visible)" 0
expect_equal "\"Show all files\" box shown" \
  "$(field "$(children depth=1 class=Button text=CheckBox1)" visible)" 1

park_pointer
take_screenshot list
expect_true "\"Play\" drawn in lime" test "$(count_pixels 221 326 73 22 0 255 0)" -gt 10
expect_equal "no \"Apply\" in the list state" "$(count_pixels 67 326 60 22 0 255 0)" 0
expect_equal "no silver edit field over the list" "$(count_pixels 53 96 225 21 192 192 192)" 0

# --- "Play" -------------------------------------------------------------------
click_row "$list_hwnd" "Pong (Rev E) [TTL]"
read_tree
expect_equal "Pong selected" \
  "$(row_lines "$list_hwnd" | grep -F $'\tselected=1\t' | sed 's/.*\ttext=//')" "Pong (Rev E) [TTL]"
take_screenshot selected
click_button Play
game="pong $parameters"
expect_true "MAME played pong" wait_until 120 bridge_finished "$game"
expect_equal "pong ended well" "$(bridge_exit_code "$game")" 0
expect_equal "MAME ran in its own folder" "$(bridge_folder "$game")" "$mame_dir"
expect_true "\"Close After Playing\" closed the front-end" wait_until 30 keston_ended
expect_equal "MAME was called twice: the list, then the game" \
  "$(grep -c '^start' "$bridge_log")" 2

e2e_finish
