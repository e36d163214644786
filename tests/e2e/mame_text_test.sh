#!/usr/bin/env bash
# MAME's text is UTF-8: real MAME's descriptions with letters beyond ASCII
# show as themselves in the game list (read back as Unicode), typed letters
# find a game without a click first, also after the window was left and
# activated again, and a mame.ini whose ROM path holds such letters shows
# them in the editor and comes back byte for byte around an edit.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
run_mame -listfull >"$program_dir/gamelist"
run_mame -rompath roms -cc
add_roms attache fm16beta galaxian pacman pong pongd
write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0"
expect_equal "MAME's description of attache" "$(mame_description attache)" "Attaché"
expect_equal "MAME's description of fm16beta" "$(mame_description fm16beta)" "FM-16β"

list_focused() { read_main_window && [ "$(field "$(listbox1)" focus)" = 1 ]; }

start_keston
find_window Form1
read_main_window
expect_equal "the list shows every letter of MAME's descriptions" \
  "$(list_rows "$list_hwnd" | head -n 2)" "$(printf 'Attaché\nFM-16β')"
park_pointer
take_screenshot unicode-list

# --- type-to-find -------------------------------------------------------------
expect_true "the list has the keys when the window comes up" wait_until 10 list_focused
type_text pon
read_main_window
expect_equal "\"pon\" without a click selects Pong" "$(selected_row)" "Pong (Rev E) [TTL]"
type_text "g d"
read_main_window
expect_equal "more letters extend the prefix" "$(selected_row)" "Pong Doubles [TTL]"

# The About box takes the activation and, closed, gives it back.
click_button ABOUT
find_window About
about_hwnd=$window_hwnd
press_key Return
wait_until 10 top_level_gone "$about_hwnd" || die "the About box stayed"
find_window Form1
sleep 1.2
type_text ga
read_main_window
expect_equal "after the About box, typing still finds a game" "$(selected_row)" \
  "Galaxian (Namco set 1)"

# Another window takes the keyboard; a click on the skin activates the
# window again, as a user does: the list has the keys again.
xdotool windowfocus "$(xdpyinfo | awk '/root window id:/ { print $4; exit }')"
sleep 0.5
click_at 20 200
sleep 1.2
type_text pa
read_main_window
expect_equal "after a click on the skin, typing still finds a game" "$(selected_row)" \
  "Pac-Man (Midway)"
stop_keston

# --- mame.ini with letters beyond ASCII ----------------------------------------
ini=$mame_dir/mame.ini
path_line="rompath                   roms;C:\\Jeux\\Rétro β"
sed -i "s/^rompath .*\$/${path_line//\\/\\\\}/" "$ini"
expect_equal "MAME's mame.ini begins with the byte-order mark" "$(head -c 3 "$ini")" $'\xEF\xBB\xBF'
expect_true "the ROM path line holds the letters in UTF-8" grep -qxF "$path_line" "$ini"
cp "$ini" "$work/mame.ini.before"

start_keston
find_window Form1
click_button Configure
read_tree
click_button "Configure MAME"
find_window Form1
read_tree
memo_hwnd=$(field "$(children depth=1 class=Edit left=36 top=72 w=257 h=225)" hwnd)
probe utext "$memo_hwnd" >"$work/memo.txt"
expect_true "the editor shows the path's letters" grep -qF "$path_line"$'\r' "$work/memo.txt"
park_pointer
take_screenshot unicode-editor

# readconfig is the fourth line, after three short comment lines.
click_control "$(children depth=1 class=Edit left=36 top=72 w=257 h=225)"
press_key ctrl+Home Down Down Down End BackSpace
type_text 0
click_button Save
wait_until 60 message_box_shown "KESTON PRIME" || die "no message after Save"
box=$(message_boxes "KESTON PRIME" | head -n 1)
expect_equal "the save is confirmed" "$(message_text "$(field "$box" hwnd)")" "File Saved!"
dismiss_message_box "$box"
sed 's/^\(readconfig *\)1$/\10/; s/$/\r/' "$work/mame.ini.before" >"$work/expected.ini"
expect_true "every line not edited comes back byte for byte, mark and letters kept" \
  cmp -s "$ini" "$work/expected.ini"

e2e_finish
