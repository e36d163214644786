#!/usr/bin/env bash
# MAME's configuration file edited from the configuration panel: for a MAME
# folder without one, "Configure MAME" offers to let MAME create it; on "Yes"
# real MAME's -cc writes mame.ini, the memo shows it whole with CR LF and
# without its byte-order mark, and "Save" writes exactly the memo's text back
# after the mark. Answered "No" in another folder, nothing runs. A mame.ini
# that is a symbolic link is saved through it to its target; what killed
# writes left beside it and beside keston.ini goes at the next start.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

question="This MAME doesn't have the configuration file, do you want to create it? (ONLY FOR WINDOWS MAME VERSION)"
mark=$'\xEF\xBB\xBF'

# The main window's memo, from $tree: the edit over the list, not in the panel.
memo() { children depth=1 class=Edit left=36 top=72 w=257 h=225; }

# Waits for a message box with this caption and sets box to its probe line.
await_box() { # CAPTION
  wait_until 120 message_box_shown "$1" || die "no message box \"$1\""
  box=$(message_boxes "$1" | head -n 1)
}

# Clicks the button of the message box in $box that shows TEXT.
click_box_button() { # TEXT
  local line
  line=$(probe tree "$(field "$box" hwnd)" | text=$1 awk -F'\t' '
    $1 == "child" && index($0, "\tclass=Button\t") && $NF == "text=" ENVIRON["text"]')
  [ -n "$line" ] || die "no button \"$1\" on the message box"
  pointer_to $(($(field "$box" cx) + $(field "$line" x) + $(field "$line" w) / 2)) \
    $(($(field "$box" cy) + $(field "$line" y) + $(field "$line" h) / 2))
  xdotool click 1
  wait_until 10 top_level_gone "$(field "$box" hwnd)" || die "the box stayed after \"$1\""
}

# --- a MAME folder without a configuration file: "Yes" ------------------------
new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
add_roms pong
start_keston
find_window Form1
read_tree
panel_hwnd=$(field "$(panel1)" hwnd)
click_control "$(children parent="$panel_hwnd" class=Edit left=16 top=23)"
type_text "$mame_exe_windows"
# "Using Windows XP/2000" starts ticked: the system has no command.com.
click_button Apply
wait_until 120 bridge_finished -listfull || die "\"Apply\" did not have MAME list its games"
find_window Form1 120

click_button "Configure MAME"
await_box "Create MAME.INI"
expect_equal "the question" "$(message_text "$(field "$box" hwnd)")" "$question"
take_screenshot question
click_box_button "&Yes"
wait_until 120 bridge_finished -cc || die "\"Yes\" did not have MAME create its file"
expect_equal "MAME's -cc ended well" "$(bridge_exit_code -cc)" 0
expect_equal "MAME ran in its own folder" "$(bridge_folder -cc)" "$mame_dir"
ini=$mame_dir/mame.ini
expect_true "MAME wrote a 9 KB mame.ini" test "$(stat -c %s "$ini")" -gt 9000
expect_equal "it begins with the byte-order mark" "$(head -c 3 "$ini")" "$mark"
expect_equal "its lines end in LF alone" "$(grep -c $'\r' "$ini" || true)" 0

find_window Form1 120
read_tree
memo_line=$(memo)
memo_hwnd=$(field "$memo_line" hwnd)
expect_equal "the memo is shown" "$(field "$memo_line" visible)" 1
expect_equal "the panel is hidden" "$(field "$(panel1)" visible)" 0
probe text "$memo_hwnd" >"$work/memo.txt"
tail -c +4 "$ini" | sed 's/$/\r/' >"$work/expected.txt"
expect_true "the memo shows the file whole, CR LF, no mark" cmp -s "$work/memo.txt" "$work/expected.txt"
park_pointer
take_screenshot editor
expect_true "\"Save\" drawn in lime" test "$(count_pixels 221 326 73 22 0 255 0)" -gt 10

# readconfig is the fourth line, after three short comment lines.
click_control "$memo_line"
press_key ctrl+Home Down Down Down End BackSpace
type_text 0
probe text "$memo_hwnd" >"$work/edited.txt"
sed 's/^\(readconfig *\)1\r$/\10\r/' "$work/expected.txt" >"$work/expected-edited.txt"
expect_true "one value changed in the memo" cmp -s "$work/edited.txt" "$work/expected-edited.txt"

click_button Save
await_box "KESTON PRIME"
expect_equal "the save is confirmed" "$(message_text "$(field "$box" hwnd)")" "File Saved!"
dismiss_message_box "$box"
expect_true "the file holds the mark and exactly the memo's text" \
  cmp -s "$ini" <(printf '%s' "$mark"; cat "$work/edited.txt")
stop_keston

# --- another MAME folder: "No" --------------------------------------------------
new_program_folder "Second Program"
new_mame_folder "Second MAME"
write_settings "mameexe=$mame_exe_windows" "xp=1"
start_keston
find_window Form1
read_tree
expect_equal "no game list: the panel opens" "$(field "$(panel1)" visible)" 1
click_button "Configure MAME"
await_box "Create MAME.INI"
click_box_button "&No"
await_box "KESTON PRIME"
expect_equal "the refusal" "$(message_text "$(field "$box" hwnd)")" "MAME.ini or MAME.cfg not found!"
dismiss_message_box "$box"
find_window Form1
read_tree
expect_equal "the panel stays" "$(field "$(panel1)" visible)" 1
expect_equal "nothing was run" "$(wc -c <"$bridge_log")" 0
expect_equal "no file was made" "$(ls "$mame_dir")" "$(printf 'bridge.log\nmame.exe\nmame.sh')"
stop_keston

# --- a mame.ini that is a symbolic link, and leftovers of killed writes ------------
# A save through the link writes beside its target, and a killed one leaves
# its temporary file there.
new_program_folder "Linked Program"
new_mame_folder "Linked MAME"
shared="$work/Shared Config"
mkdir -p "$shared"
printf 'rompath roms\r\nreadconfig 1\r\n' >"$shared/mame.ini"
ln -s "$shared/mame.ini" "$mame_dir/mame.ini"
write_settings "mameexe=$mame_exe_windows" "xp=1"
temporary_tag=".~writing-8d2e4a1c"
head -c 1048576 /dev/zero >"$shared/mame.ini$temporary_tag"
head -c 1048576 /dev/zero >"$program_dir/keston.ini$temporary_tag"
# Files of the user's own named like a backup are no leftovers.
printf 'mine' >"$shared/~mame.in"
printf 'mine' >"$program_dir/~keston.in"
start_keston
find_window Form1
expect_true "a killed save's leftover is gone at start" \
  wait_until 30 test ! -e "$shared/mame.ini$temporary_tag"
expect_true "a killed settings write's leftover is gone at start" \
  wait_until 30 test ! -e "$program_dir/keston.ini$temporary_tag"
expect_equal "the user's own files stay" "$(cat "$shared/~mame.in" "$program_dir/~keston.in")" \
  "minemine"
rm -f "$shared/~mame.in" "$program_dir/~keston.in"
wait_until 30 window_hidden Form4 || die "the splash window stayed"
read_tree
expect_equal "no game list: the panel is open" "$(field "$(panel1)" visible)" 1
click_button "Configure MAME"
find_window Form1 120
read_tree
memo_line=$(memo)
expect_equal "the linked file is shown" "$(field "$memo_line" visible)" 1
click_control "$memo_line"
press_key ctrl+End
type_text "skip_gameinfo 1"
click_button Save
await_box "KESTON PRIME"
expect_equal "the save is confirmed" "$(message_text "$(field "$box" hwnd)")" "File Saved!"
dismiss_message_box "$box"
expect_true "mame.ini is still a link" test -L "$mame_dir/mame.ini"
expect_equal "the link's target holds the memo's text" "$(od -c "$shared/mame.ini")" \
  "$(printf 'rompath roms\r\nreadconfig 1\r\nskip_gameinfo 1' | od -c)"
expect_equal "nothing is left beside the link" "$(ls "$mame_dir" | tr '\n' ' ')" \
  "bridge.log mame.exe mame.ini mame.sh "
expect_equal "nothing is left beside its target" "$(ls -A "$shared" | tr '\n' ' ')" "mame.ini "
stop_keston

e2e_finish
