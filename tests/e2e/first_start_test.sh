#!/usr/bin/env bash
# First start in an empty program folder: without keston.ini the program comes
# up in its configuration state, centred, with the skin and the configuration
# panel on the screen, and it writes no file, not even when "X" closes it.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_program_folder "Program Folder"
park_pointer
take_screenshot desktop
desktop=$shot

start_keston
find_window Form1
note "main window at $window_left,$window_top"

# --- the window ---------------------------------------------------------------
read_screen
expect_equal "main window width" "$window_w" 340
expect_equal "main window height" "$window_h" 385
expect_near "main window centred horizontally" "$window_left" $(((screen_w - 340) / 2)) 1
expect_near "main window centred vertically" "$window_top" $(((screen_h - 385) / 2)) 1
expect_false "splash window gone once the main window shows" window_visible Form4
expect_true "the application's window is titled KESTON PRIME" window_visible "KESTON PRIME"

# --- the configuration state, read from outside -------------------------------
read_tree
panel=$(panel1)
expect_equal "configuration panel at 36,72, 257 x 225, shown" "$(field "$panel" visible || true)" 1
panel_hwnd=$(field "$panel" hwnd || true)

edit1=$(children parent="$panel_hwnd" class=Edit left=16 top=23 w=225 h=21 visible=1)
edit2=$(children parent="$panel_hwnd" class=Edit left=16 top=87 w=225 h=21 visible=1)
expect_true "MAME Exe File edit shown in the panel" test -n "$edit1"
expect_true "Parameters edit shown in the panel" test -n "$edit2"
expect_equal "MAME Exe File edit empty" "$(field "$edit1" text || true)" ""
expect_equal "Parameters edit empty" "$(field "$edit2" text || true)" ""

xp=$(children parent="$panel_hwnd" class=Button text="Using Windows XP/2000" left=51 top=180 \
  w=145 h=17 visible=1)
close1=$(children parent="$panel_hwnd" class=Button text="Close After Playing" left=51 top=197 \
  w=133 h=17 visible=1)
expect_equal "\"Using Windows XP/2000\" shown, ticked: no command.com here" \
  "$(field "$xp" check || true)" 1
expect_equal "\"Close After Playing\" shown, ticked" "$(field "$close1" check || true)" 1

list=$(listbox1)
expect_equal "ListBox1 at 36,72, 257 x 225, empty" "$(field "$list" count || true)" 0
expect_equal "\"Show all files\" box hidden" \
  "$(field "$(children class=Button text=CheckBox1)" visible || true)" 0
expect_equal "editor memo hidden" \
  "$(field "$(children depth=1 class=Edit left=36 top=72)" visible || true)" 0

# --- the screen ---------------------------------------------------------------
park_pointer
take_screenshot configuration
white="255 255 255"
for point in "20 200" "315 150" "180 315"; do
  read -r x y <<<"$point"
  colour=$(pixel "$x" "$y")
  behind=$(shot=$desktop pixel "$x" "$y")
  expect_true "skin at $x,$y ($colour) is neither white nor the desktop ($behind)" \
    test "$colour" != "$white" -a "$colour" != "$behind"
done
for point in "41 77" "45 203" "285 285"; do
  read -r x y <<<"$point"
  expect_equal "panel grey at $x,$y" "$(pixel "$x" "$y")" "128 128 128"
done
# The configuration state's buttons are drawn in lime; nothing of the list
# state lies where "Apply" is.
expect_true "\"Apply\" drawn in lime" test "$(count_pixels 67 326 73 22 0 255 0)" -gt 10
expect_true "\"Cancel\" drawn in lime" test "$(count_pixels 142 326 73 22 0 255 0)" -gt 10
expect_true "\"OK\" drawn in lime" test "$(count_pixels 221 326 73 22 0 255 0)" -gt 10
expect_equal "\"Show all files\" label hidden: no silver text" \
  "$(count_pixels 55 305 61 13 192 192 192)" 0

expect_equal "no file written at start-up" "$(program_files)" keston.exe

# --- "X" ends the program at once and saves nothing of the panel --------------
click_control "$edit1"
type_text 'C:\Program Files\MAME\mame.exe'
click_control "$xp"
read_tree
expect_equal "typed path shows in the MAME Exe File edit" \
  "$(field "$(children hwnd="$(field "$edit1" hwnd)")" text || true)" 'C:\Program Files\MAME\mame.exe'
expect_equal "\"Using Windows XP/2000\" unticked by a click" \
  "$(field "$(children hwnd="$(field "$xp" hwnd)")" check || true)" 0
click_button X
expect_true "\"X\" ends the program" wait_until 10 keston_ended
expect_equal "nothing written by \"X\"" "$(program_files)" keston.exe

e2e_finish
