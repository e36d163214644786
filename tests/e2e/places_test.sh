#!/usr/bin/env bash
# Where the program keeps its files, and writes that fail. A read-only
# keston.ini costs no list and no message: the stamp the start would store is
# not worth one, the list is built, and the next start tries again. A program folder
# that cannot be written (a read-only mount, which stops root too) moves the
# files to the per-user folder: keston.ini and gamelist beside keston.exe are
# taken over, the user is told once, and a new MAME writes its list there
# without MAME being blamed for a folder it was not let write. Once there, the
# files stay there when the program folder can be written again. With no
# per-user folder either, every start names both folders and why.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_mame_folder "MAME Folder"
run_mame -rompath roms -cc
add_roms galaxian pong
# The list of a MAME before this one, which did not know pong yet.
run_mame -listfull | grep -v '^pong ' >"$work/old-gamelist"
old_list="Galaxian (Namco set 1)"
new_list=$(printf 'Galaxian (Namco set 1)\nPong (Rev E) [TTL]')
: >"$bridge_log"
listfull_runs() { grep -c $'^start\t.*\t-listfull$' "$bridge_log" || true; }

# The one message box of the program: its text, after it was answered.
answer_message() { # WHAT EXPECTED_TEXT
  wait_until 120 message_box_shown "KESTON PRIME" || die "$1: no message came"
  local boxes box
  boxes=$(message_boxes "KESTON PRIME")
  box=$(head -n 1 <<<"$boxes")
  expect_equal "$1" "$(message_text "$(field "$box" hwnd)")" "$2"
  dismiss_message_box "$box" || fail "$1: the message went away"
}

# A new MAME's list comes in behind the start: ROWS, when given, are awaited.
main_list() { # [ROWS]
  find_window Form1 120
  if [ -n "${1:-}" ]; then await_main_list "$1"; else read_main_window; fi
  list_rows "$list_hwnd"
}
stamp_is_not() { [ "$(user_setting mamestamp)" != "$1" ]; } # STAMP

# --- a read-only keston.ini ----------------------------------------------------
new_program_folder "Program Folder"
cp "$work/old-gamelist" "$program_dir/gamelist"
# From before the stamp: the start stores it, and that write is refused.
write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0"
chmod a-w "$program_dir/keston.ini"
cp -p "$program_dir/keston.ini" "$work/readonly-settings"
for start in first second; do
  start_keston
  expect_equal "$start start: the list is built all the same" "$(main_list)" "$old_list"
  expect_equal "$start start: no message" "$(message_boxes "KESTON PRIME")" ""
  stop_keston
done
expect_true "keston.ini is untouched" cmp -s "$program_dir/keston.ini" "$work/readonly-settings"
expect_equal "no MAME run" "$(listfull_runs)" 0

# --- a program folder that cannot be written ---------------------------------
# An existing keston.ini with the stamp of an older MAME.
new_program_folder "Read-only Program"
cp "$work/old-gamelist" "$program_dir/gamelist"
write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0" "mamestamp=1 1"
new_user_folder
mount_read_only "$program_dir"
expect_false "the folder refuses writes, root's too" touch "$program_dir/probe"
before=$(cd "$program_dir" && md5sum -- *)

start_keston
answer_message "the first start says where the files go" \
  "The folder $(windows_path "$program_dir") cannot be written: KESTON PRIME keeps its \
settings, game list and skin in $user_dir_windows from now on."
expect_equal "the new MAME wrote the list there, and it is built" "$(main_list "$new_list")" \
  "$new_list"
expect_equal "no message blames MAME" "$(message_boxes "KESTON PRIME")" ""
expect_equal "one MAME run" "$(listfull_runs)" 1
expect_equal "the program folder is as it was" "$(cd "$program_dir" && md5sum -- *)" "$before"
expect_equal "the per-user folder holds the files" "$(cd "$user_dir" && LC_ALL=C ls -A)" \
  "$(printf 'gamelist\nkeston.ini')"
expect_true "its gamelist is the new MAME's" grep -q '^pong ' "$user_dir/gamelist"
user_setting() { program_dir=$user_dir setting "$1"; }
expect_equal "its keston.ini keeps the settings" "$(user_setting mameexe),$(user_setting xp)" \
  "$mame_exe_windows,1"
expect_true "and has the new MAME's stamp" wait_until 10 stamp_is_not "1 1"
stop_keston

start_keston
expect_equal "the next start reads them there" "$(main_list)" "$new_list"
sleep 1
expect_equal "and says nothing" "$(message_boxes "KESTON PRIME")" ""
expect_equal "no MAME run again" "$(listfull_runs)" 1

stop_keston

# --- the program folder can be written again -----------------------------------
# Its keston.ini still has the older MAME's stamp, its gamelist the older list.
mount -o remount,rw,bind "$program_dir"
start_keston
expect_equal "the per-user folder's files are the ones read" "$(main_list)" "$new_list"
sleep 1
expect_equal "without a word" "$(message_boxes "KESTON PRIME")" ""
expect_equal "nor a MAME run for the stamp beside keston.exe" "$(listfull_runs)" 1
stop_keston
expect_equal "nor a file written there" "$(cd "$program_dir" && md5sum -- *)" "$before"

# --- no per-user folder either --------------------------------------------------
# One that cannot be written (the unit test has those that cannot be made):
# its message comes first, the renewal's own after it. (Files written beside
# keston.exe, which they should not be, keep the mount busy a moment.)
wait_until 10 mount -o remount,ro,bind "$program_dir" 2>/dev/null || die "no read-only mount"
rm -rf "$user_dir"
mkdir "$user_dir"
mount_read_only "$user_dir"
program_windows=$(windows_path "$program_dir")
start_keston
answer_message "both folders and why" "The folder $program_windows cannot be written (Access \
denied), nor can the folder $user_dir_windows be written (Access denied): KESTON PRIME cannot keep \
its settings, game list and skin."
answer_message "the list's own message" "Unable to write to $program_windows\\gamelist: its \
folder cannot be written. The next start tries again."
expect_equal "the list there is is shown" "$(main_list)" "$old_list"

e2e_finish
