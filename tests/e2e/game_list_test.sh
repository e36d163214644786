#!/usr/bin/env bash
# The game list at start-up, against real MAME's mame.ini and -listfull: it
# shows exactly the games whose ROM files are present, sorted by file name,
# and "Show all files" adds the files MAME does not know. A mame.ini whose
# rompath lists several directories, as Debian's MAME writes it, lists the
# files of those that exist; one naming only missing directories gives an
# empty list and one message.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# The hidden list of short names that "Play" hands to MAME: the list box
# below the client area at 88,392.
gamelist_rows() { list_rows "$(field "$(children depth=1 class=ListBox left=88 top=392)" hwnd)"; }

selected_rows() { row_lines "$list_hwnd" | grep -cF $'\tselected=1\t' || true; }

# Polls until ListBox1 holds exactly this many rows (a rebuild has ended).
listbox1_count_is() { # COUNT
  read_main_window
  [ "$(field "$(listbox1)" count)" = "$1" ]
}

lines() { printf '%s\n' "$@"; }

# One program folder with real MAME's list of games, used by every case.
new_program_folder "Program Folder"
new_mame_folder "MAME Folder"
run_mame -listfull >"$program_dir/gamelist"
expect_equal "real MAME listed its games" "$(wc -l <"$program_dir/gamelist")" 45295

# --- a ROM folder from "-rompath roms -cc" ------------------------------------
run_mame -rompath roms -cc
expect_equal "MAME wrote rompath roms" "$(awk '$1 == "rompath" { print $2 }' "$mame_dir/mame.ini")" roms

roms=$mame_dir/roms
add_roms pong breakout 1942 dkong galaxian
: >"$roms/PACMAN.ZIP"
: >"$roms/pong.7z"
printf 'Read me first.\r\n' >"$roms/readme.txt"
mkdir "$roms/galaga"
# Hidden and system files are left out; read-only ones are listed.
wine_do attrib +h "$(windows_path "$roms/dkong.zip")"
wine_do attrib +s "$(windows_path "$roms/galaxian.zip")"
wine_do attrib +r "$(windows_path "$roms/1942.zip")"
write_settings "mameexe=$mame_exe_windows" "parameters=" "close=0"

games=(1942 breakout pacman pong pong)
descriptions=()
for game in "${games[@]}"; do descriptions+=("$(mame_description "$game")"); done
expect_equal "MAME's description of pong" "${descriptions[3]}" "Pong (Rev E) [TTL]"

start_keston
find_window Form1
read_main_window
expect_equal "ListBox1 shows the games of the ROM files, sorted by file name" \
  "$(list_rows "$list_hwnd")" "$(lines "${descriptions[@]}")"
expect_equal "the short names, as the files spell them, row for row" \
  "$(gamelist_rows)" "$(lines 1942 breakout PACMAN pong pong)"
expect_equal "nothing selected after the build" "$(field "$(listbox1)" current)" -1
expect_equal "configuration panel hidden" "$(field "$(panel1)" visible)" 0
expect_equal "loading panel hidden" \
  "$(field "$(children depth=1 text='. . : : LOADING ROMS : : . .')" visible)" 0
checkbox=$(children depth=1 class=Button text=CheckBox1)
expect_equal "\"Show all files\" box shown, unticked" \
  "$(field "$checkbox" visible) $(field "$checkbox" check)" "1 0"

park_pointer
take_screenshot list
expect_true "\"Play\" drawn in lime" test "$(count_pixels 221 326 73 22 0 255 0)" -gt 10
expect_true "\"Configure \" drawn in lime" test "$(count_pixels 128 326 86 22 0 255 0)" -gt 10
expect_equal "no \"Apply\" in the list state" "$(count_pixels 67 326 60 22 0 255 0)" 0
expect_true "\"Show all files\" label drawn in silver" \
  test "$(count_pixels 55 305 61 13 192 192 192)" -gt 10
expect_equal "no silver edit field of the panel over the list" \
  "$(count_pixels 53 96 225 21 192 192 192)" 0

# --- "Show all files" ---------------------------------------------------------
click_row "$list_hwnd" "Breakout [TTL]"
read_main_window
expect_equal "a click selects a game" "$(selected_rows)" 1

click_control "$checkbox"
expect_true "ticking \"Show all files\" rebuilds the list" wait_until 30 listbox1_count_is 6
expect_equal "the unknown file listed by its base name at its sorted place" \
  "$(list_rows "$list_hwnd")" "$(lines "${descriptions[@]}" readme)"
expect_equal "short names with the unknown file" \
  "$(gamelist_rows)" "$(lines 1942 breakout PACMAN pong pong readme)"
expect_equal "the selection is gone after the rebuild" "$(selected_rows)" 0
expect_equal "\"Show all files\" ticked" \
  "$(field "$(children hwnd="$(field "$checkbox" hwnd)")" check)" 1

click_control "$checkbox"
expect_true "unticking rebuilds the list" wait_until 30 listbox1_count_is 5
expect_equal "the unknown file gone again" \
  "$(list_rows "$list_hwnd")" "$(lines "${descriptions[@]}")"
expect_equal "\"Show all files\" unticked" \
  "$(field "$(children hwnd="$(field "$checkbox" hwnd)")" check)" 0
stop_keston

# --- Debian's default rompath: several directories ----------------------------
# Without -rompath, Debian's MAME writes a ";" list. Its first part,
# "$HOME/mame/roms", is taken as it stands (MAME would expand "$HOME"; the
# program does not), so it is relative to the MAME folder.
new_mame_folder "MAME Home Folder"
run_mame -cc
rompath=$(awk '$1 == "rompath" { print $2 }' "$mame_dir/mame.ini")
note "rompath of MAME's own: $rompath"
first=${rompath%%;*}
expect_true "MAME wrote several directories" test "$first" != "$rompath"
expect_equal "the first is relative" "${first#/}" "$first"
IFS=';' read -r -a parts <<<"$rompath"
for part in "${parts[@]:1}"; do
  # The others are absolute Unix paths, which Wine finds on drive Z:.
  if [ -d "$part" ] && [ -n "$(ls -A "$part")" ]; then
    die "$part is not empty on this machine: its files would be listed too"
  fi
done
mkdir -p "$mame_dir/$first"
for game in galaga pong; do : >"$mame_dir/$first/$game.zip"; done
write_settings "mameexe=$mame_exe_windows" "parameters=" "close=0"

start_keston
find_window Form1
read_main_window
expect_equal "the files of the directory of the list that exists are listed" \
  "$(list_rows "$list_hwnd")" "$(lines "$(mame_description galaga)" "$(mame_description pong)")"
expect_equal "no message about the ROM directory" "$(message_boxes "KESTON PRIME")" ""
stop_keston

# --- only missing directories -------------------------------------------------
new_mame_folder "MAME Folder Without ROMs"
run_mame -rompath "missing;absent" -cc
write_settings "mameexe=$mame_exe_windows" "parameters=" "close=0"
start_keston
expect_true "a message box comes up" wait_until 60 message_box_shown "KESTON PRIME"
boxes=$(message_boxes "KESTON PRIME")
expect_equal "exactly one message box" "$(wc -l <<<"$boxes")" 1
box=$(head -n 1 <<<"$boxes")
message=$(message_text "$(field "$box" hwnd)")
note "message: $message"
expect_true "the message names the first directory" \
  grep -qF "$(windows_path "$mame_dir/missing")" <<<"$message"
park_pointer
take_screenshot message
expect_true "Enter answers the message" dismiss_message_box "$box"
find_window Form1
read_main_window
expect_equal "no games listed" "$(field "$(listbox1)" count)" 0
expect_equal "no second message" "$(message_boxes "KESTON PRIME")" ""
expect_equal "loading panel hidden" \
  "$(field "$(children depth=1 text='. . : : LOADING ROMS : : . .')" visible)" 0

e2e_finish
