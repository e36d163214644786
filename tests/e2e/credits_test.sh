#!/usr/bin/env bash
# The credits: with credits=1 the flag opens "Credits Zone", where the kick
# buttons play the fixed three-kick sequence of a fresh run; after the window
# is closed the program's message follows, and the settings file is left as it
# was. "ABOUT" opens the About box, centred, and Enter closes it.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_program_folder "Program Folder"
write_settings credits=1
cp "$program_dir/keston.ini" "$work/keston.ini.before"
start_keston
find_window Form1

sky="166 202 240"
grass="0 128 0"
grey="128 128 128"
jersey="232 112 16"
money_green="192 220 192"

# A window's pixels are read relative to its client area: the pitch starts
# at 0,0 and the strip at 0,216.
click_rect 48 48 25 17
find_window "Credits Zone"
credits_hwnd=$window_hwnd
expect_equal "Credits Zone first shown at 300,144" "$window_left,$window_top" "300,144"
expect_true "the main window waits behind it" window_visible Form1

read_tree
kick_button() { # CHARACTER
  children class=Button visible=1 w=47 h=25 text="$1"
}
left=$(kick_button $'\xef')
middle=$(kick_button $'\xf1')
right=$(kick_button $'\xf0')
expect_equal "left kick button, Wingdings code 0xEF, at 179,26 in the strip" \
  "$(field "$left" left || true),$(field "$left" top || true)" "179,26"
expect_equal "middle kick button, code 0xF1, at 229,26" "$(field "$middle" left || true)" 229
expect_equal "right kick button, code 0xF0, at 279,26" "$(field "$right" left || true)" 279
ok_line() { read_tree "$credits_hwnd" && children class=Button left=70 top=3 w=362 h=68; }
expect_equal "OK hidden before a kick" "$(field "$(ok_line)" visible || true)" 0

park_pointer
take_screenshot credits-ready
expect_equal "sky" "$(pixel 450 20)" "$sky"
expect_equal "grass" "$(pixel 450 150)" "$grass"
expect_equal "sun" "$(pixel 28 24)" "255 255 0"
expect_equal "resting ball" "$(pixel 248 200)" "$grey"
expect_equal "strip" "$(pixel 20 240)" "$money_green"
net_white=$(count_pixels 110 24 100 60 255 255 255)
net_sky=$(count_pixels 110 24 100 60 166 202 240)
expect_true "goal net: white lines ($net_white px) with sky between ($net_sky px)" \
  test "$net_white" -gt 500 -a "$net_sky" -gt 2000
expect_true "keeper standing ready" test "$(count_pixels 217 60 65 65 $jersey 12)" -gt 200
expect_equal "no diving keeper yet" "$(count_pixels 120 40 89 65 $jersey 12)" 0

# --- three kicks to the left, "OK" between them ---------------------------------
kick_left_and_read() { # EXPECTED_OUTCOME WHAT
  click_control "$left"
  local ok
  ok=$(ok_line)
  expect_equal "$2: OK shows \"$1\"" "$(field "$ok" visible || true):$(field "$ok" text || true)" "1:$1"
}

kick_left_and_read "KICK OUT!!" "first kick"
park_pointer
take_screenshot credits-kick1
expect_equal "first kick: ball wide of the left post" "$(pixel 80 48)" "$grey"
expect_true "first kick: keeper diving left" test "$(count_pixels 120 40 89 65 $jersey 12)" -gt 150
expect_equal "first kick: resting ball gone" "$(pixel 248 200)" "$grass"
expect_equal "first kick: standing keeper gone" "$(count_pixels 217 60 65 65 $jersey 12)" 0

click_control "$(ok_line)"
expect_equal "OK hides after a click" "$(field "$(ok_line)" visible || true)" 0
expect_true "Credits Zone stays open after OK" window_visible "Credits Zone"

kick_left_and_read "THE GOALKEEPER CAUGHT THE BALL!!" "second kick"
park_pointer
take_screenshot credits-kick2
expect_equal "second kick: ball low in the left corner" "$(pixel 115 105)" "$grey"
click_control "$(ok_line)"

kick_left_and_read "THE GOALKEEPER CAUGHT THE BALL!!" "third kick"
park_pointer
take_screenshot credits-kick3
expect_equal "third kick: ball at half height on the left" "$(pixel 118 66)" "$grey"

# --- closing by the title bar, then the message ---------------------------------
expect_true "no message while the game is open" test -z "$(message_boxes "KESTON PRIME")"
pointer_to $((window_left + window_w - 13)) $((window_top + 11))
xdotool click 1
expect_true "the title bar's close button hides Credits Zone" \
  wait_until 10 top_level_gone "$credits_hwnd"
wait_until 10 message_box_shown "KESTON PRIME" || true
box=$(message_boxes "KESTON PRIME")
expect_equal "the message follows" "$(message_text "$(field "$box" hwnd)")" \
  "Programa com o orgulho de ser Brasileiro! MADE IN BRAZIL"
dismiss_message_box "$box"
expect_true "keston.ini unchanged by the flag" cmp -s "$work/keston.ini.before" "$program_dir/keston.ini"

# --- the About box ------------------------------------------------------------------
read_screen
find_window Form1
click_button ABOUT
find_window About
about_hwnd=$window_hwnd
expect_near "About centred horizontally" "$window_left" $(((screen_w - window_w) / 2)) 1
expect_near "About centred vertically" "$window_top" $(((screen_h - window_h) / 2)) 1
park_pointer
take_screenshot about
expect_equal "About background money green" "$(pixel 580 150)" "$money_green"
expect_true "title lettering inside the bevel" test "$(count_pixels 7 6 208 45 0 0 0 60)" -gt 300
read_tree
expect_equal "OK button at 491,264" \
  "$(field "$(children class=Button text=OK)" left || true),$(field "$(children class=Button text=OK)" top || true)" \
  "491,264"
press_key Return
expect_true "Enter closes the About box" wait_until 10 top_level_gone "$about_hwnd"

find_window Form1
click_button ABOUT
find_window About
expect_equal "About opens again on the next click" "$window_hwnd" "$about_hwnd"
pointer_to $((window_left + window_w - 13)) $((window_top + 11))
xdotool click 1
expect_true "the title bar's close button hides the About box" \
  wait_until 10 top_level_gone "$about_hwnd"
expect_true "keston.ini still unchanged" cmp -s "$work/keston.ini.before" "$program_dir/keston.ini"

e2e_finish
