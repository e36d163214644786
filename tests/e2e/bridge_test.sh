#!/usr/bin/env bash
# The mame.exe bridge to Debian's MAME, copied into a MAME folder with blanks
# in its path or one named in any letters, answers as real MAME 0.251 does in
# the ways the program relies on.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_mame_folder "MAME Folder"
mame_folder_windows=$(windows_path "$mame_dir")

# The game list as the program has it written: through cmd, short forms, and
# standard output redirected. cmd must return only once the list is complete.
short_exe=$(probe short "$mame_exe_windows")
short_folder=$(probe short "$mame_folder_windows")
expect_true "short forms have no blanks" test -n "$short_exe" -a "$short_exe" = "${short_exe// /}"
wine_do cmd /c "$short_exe -listfull >$short_folder\\gamelist"
expect_equal "-listfull lines in gamelist when cmd returns" "$(wc -l <"$mame_dir/gamelist")" 45295
expect_true "gamelist is real MAME's -listfull output" \
  cmp -s "$mame_dir/gamelist" <(/usr/games/mame -listfull 2>/dev/null)
expect_equal "the call is logged" "$(tail -n 1 "$bridge_log" | cut -f 1,3)" $'exit 0\t-listfull'

# A game without ROM files, played for a second from the MAME folder.
code=0
run_mame pong -video none -sound none -seconds_to_run 1 || code=$?
expect_equal "pong exits with 0" "$code" 0
expect_equal "pong is logged with its folder" "$(tail -n 1 "$bridge_log")" \
  $'exit 0\t'"$mame_dir"$'\tpong -video none -sound none -seconds_to_run 1'

code=0
run_mame nosuchgame -video none -sound none >/dev/null 2>&1 || code=$?
expect_equal "an unknown game exits with 5" "$code" 5

# MAME writes its configuration file into the current directory.
run_mame -cc
expect_true "-cc writes mame.ini" test -s "$mame_dir/mame.ini"
rm -f "$mame_dir/mame.ini"
run_mame -rompath roms -cc
expect_equal "-rompath roms -cc stores rompath roms" \
  "$(awk '$1 == "rompath" { print $2 }' "$mame_dir/mame.ini")" roms
rm -f "$mame_dir/mame.ini"
run_mame -rompath "my roms" -cc
expect_equal "an argument with a blank stays one argument" \
  "$(awk '$1 == "rompath" { $1 = ""; print substr($0, 2) }' "$mame_dir/mame.ini")" '"my roms"'

# A MAME folder named in Cyrillic, CJK and with an emoji, given to cmd by its
# long name, as on a volume without 8.3 names (the work folder, which has a
# blank, by its short form): cmd runs the bridge by that name and creates the
# redirect target by its name. The bridge finds its script there, runs MAME
# in it and hands on the arguments in UTF-8.
new_mame_folder "Игры_ゲーム表_🎮"
unicode_folder_windows="$(probe short "$(windows_path "$work")")\\Игры_ゲーム表_🎮"
wine_do cmd /c "$unicode_folder_windows\\mame.exe -listfull >$unicode_folder_windows\\gamelist"
expect_equal "-listfull through cmd into a folder in any letters" "$(wc -l <"$mame_dir/gamelist")" 45295
run_mame -rompath "ゲーム表 🎮" -cc
expect_equal "an argument in any letters reaches MAME whole" \
  "$(awk '$1 == "rompath" { $1 = ""; print substr($0, 2) }' "$mame_dir/mame.ini")" '"ゲーム表 🎮"'
expect_equal "the folder in any letters is logged" "$(tail -n 1 "$bridge_log")" \
  $'exit 0\t'"$mame_dir"$'\t-rompath ゲーム表 🎮 -cc'

# Without its script the bridge fails at once instead of waiting forever.
mkdir "$work/Broken"
cp "$bridge_dir/mame.exe" "$work/Broken/"
code=0
(cd "$work/Broken" && timeout 30 "$wine_run" mame.exe -cc) 2>/dev/null || code=$?
expect_equal "a bridge without mame.sh exits with 125" "$code" 125

e2e_finish
