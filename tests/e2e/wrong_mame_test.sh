#!/usr/bin/env bash
# A program that is no MAME, named as MAME with a good list on screen: "OK"
# says once that it printed no MAME game list and stays in the panel; the
# list on screen, the gamelist file and the stored MAME stamp stay as they
# were.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
run_mame -rompath roms -cc
add_roms galaxian pong
run_mame -listfull >"$program_dir/gamelist"
cp "$program_dir/gamelist" "$work/gamelist"
write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0"
not_mame='C:\windows\system32\hostname.exe'

start_keston
find_window Form1
read_main_window
rows=$(list_rows "$list_hwnd")
expect_equal "the good list on screen" "$rows" \
  "$(printf 'Galaxian (Namco set 1)\nPong (Rev E) [TTL]')"
stamp=$(setting mamestamp)

click_button Configure
read_tree
edit1=$(children parent="$(field "$(panel1)" hwnd)" class=Edit left=16 top=23)
click_control "$edit1"
press_key End shift+Home BackSpace
type_text "$not_mame"
click_button OK
expect_true "a message comes up" wait_until 60 message_box_shown "KESTON PRIME"
box=$(message_boxes "KESTON PRIME" | head -n 1)
expect_equal "it says that the program named printed no MAME game list" \
  "$(message_text "$(field "$box" hwnd)")" \
  "$not_mame did not print a MAME game list: it ended with exit code 1. The game list stays as it was."
dismiss_message_box "$box"
expect_false "no second message" wait_until 3 message_box_shown "KESTON PRIME"

expect_true "gamelist is left byte for byte" cmp -s "$program_dir/gamelist" "$work/gamelist"
expect_equal "no file left beside the program" "$(program_files)" \
  "$(printf 'gamelist\nkeston.exe\nkeston.ini')"
expect_equal "the stamp of the MAME that wrote the list stays" "$(setting mamestamp)" "$stamp"
find_window Form1
read_main_window
expect_equal "the panel stays, for the path to be put right" "$(field "$(panel1)" visible)" 1
click_button Cancel
read_main_window
expect_equal "the list on screen is as it was" "$(list_rows "$list_hwnd")" "$rows"

e2e_finish
