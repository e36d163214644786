#!/usr/bin/env bash
# The MAME folder that scripts/run prepares for a program folder without
# keston.ini: the program starts straight into the list of MAME's games that
# need no ROM files, with MAME's own descriptions, and "Play" runs real MAME
# with the chosen game from the MAME folder. Preparing again keeps what the
# user has put there.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

prepare() {
  "$e2e_root/scripts/prepare-mame" "$bridge_dir" "$mame_dir" "$program_dir" 2>"$work/prepare.err"
}

new_program_folder "Program Folder"
name_mame_folder "MAME Folder"
prepare
expect_equal "every game was playable" "$(cat "$work/prepare.err")" ""

# --- the folders --------------------------------------------------------------
games=(breakout pong pongd rebound)
expect_equal "one ROM file for each game" "$(cd "$mame_dir/roms" && LC_ALL=C ls -A)" \
  "$(printf '%s.zip\n' "${games[@]}")"
expect_equal "the ROM files are empty" "$(cat "$mame_dir"/roms/*)" ""
expect_equal "MAME's own mame.ini with rompath roms" \
  "$(awk '$1 == "rompath" { print $2 }' "$mame_dir/mame.ini")" roms
expect_true "gamelist is real MAME's -listfull output" \
  cmp -s "$program_dir/gamelist" <(/usr/games/mame -listfull 2>/dev/null)
expect_equal "keston.ini names the bridge" "$(setting mameexe)" "$mame_exe_windows"
expect_equal "keston.ini has MAME run through cmd" "$(setting xp)" 1
expect_equal "keston.ini without parameters" "$(setting parameters)" ""

# --- the list -----------------------------------------------------------------
parameters="-video none -sound none -seconds_to_run 1"
sed -i "s/^parameters=\r\$/parameters=$parameters\r/" "$program_dir/keston.ini"
expect_equal "the test's copy plays for a second" "$(setting parameters)" "$parameters"
: >"$bridge_log"

start_keston
find_window Form1
read_tree
list_hwnd=$(field "$(listbox1)" hwnd)
expected=$(for game in "${games[@]}"; do mame_description "$game"; done)
expect_equal "ListBox1 shows MAME's descriptions of the four games" \
  "$(list_rows "$list_hwnd")" "$expected"
expect_true "MAME describes them" grep -qxF "Pong Doubles [TTL]" <<<"$expected"
expect_equal "no configuration panel" "$(field "$(panel1)" visible)" 0
park_pointer
take_screenshot list
expect_true "\"Play\" drawn in lime" test "$(count_pixels 221 326 73 22 0 255 0)" -gt 10

# --- "Play" -------------------------------------------------------------------
click_row "$list_hwnd" "Pong Doubles [TTL]"
click_button Play
game="pongd $parameters"
expect_true "MAME played pongd" wait_until 120 bridge_finished "$game"
expect_equal "pongd ended well" "$(bridge_exit_code "$game")" 0
expect_equal "MAME ran in its own folder" "$(bridge_folder "$game")" "$mame_dir"
expect_equal "MAME was started once" "$(grep -c '^start' "$bridge_log")" 1
expect_true "\"Close After Playing\" closed the front-end" wait_until 30 keston_ended

# --- preparing again ----------------------------------------------------------
printf 'a real set\n' >"$mame_dir/roms/pong.zip"
printf '# mine\n' >>"$mame_dir/mame.ini"
rm "$program_dir/keston.ini" "$program_dir/gamelist"
prepare
expect_equal "a ROM file with content is kept" "$(cat "$mame_dir/roms/pong.zip")" "a real set"
expect_equal "the user's mame.ini is kept" "$(tail -n 1 "$mame_dir/mame.ini")" "# mine"
expect_equal "keston.ini written again" "$(setting mameexe)" "$mame_exe_windows"
expect_equal "gamelist written again" "$(wc -l <"$program_dir/gamelist")" 45295

e2e_finish
