#!/usr/bin/env bash
# A new MAME whose game list does not fit on the program folder's disk (a
# small memory file system, mounted as root): the old list stays on the
# screen and on the disk, nothing of the new one is left to keep the disk
# full, the one message says the disk is full, and the next start tries again.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_mame_folder "MAME Folder"
run_mame -rompath roms -cc
add_roms galaxian pong

disk="$work/small disk"
mkdir -p "$disk"
list_bytes=$(/usr/games/mame -listfull 2>/dev/null | wc -c)
old_list=$(printf 'Name:             Description:\ngalaxian         "%s"\n' \
  "$(mame_description galaxian)")
# Room for the program, its settings and the old list, and for half of the
# new list.
size_k=$((($(stat -c %s "$keston_exe") + list_bytes / 2) / 1024 + 64))
mount -t tmpfs -o "size=${size_k}k" tmpfs "$disk" || die "cannot mount a tmpfs (root needed)"
on_cleanup "unmount $(printf '%q' "$disk")"
new_program_folder "small disk/Program Folder"
printf '%s\n' "$old_list" >"$program_dir/gamelist"
cp "$program_dir/gamelist" "$work/old-gamelist"
write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0"

# The stamp of this MAME is stored at a first start.
start_keston
find_window Form1
stamp=$(setting mamestamp)
expect_true "the stamp of this MAME is stored" test -n "$stamp"
stop_keston

printf 'new version' >>"$mame_dir/mame.exe"
said="The disk is full: MAME's new game list does not fit into $(windows_path "$program_dir"). The game list stays as it was."
for start in first next; do
  start_keston
  expect_true "$start start: a message comes up" wait_until 120 message_box_shown "KESTON PRIME"
  boxes=$(message_boxes "KESTON PRIME")
  expect_equal "$start start: exactly one message" "$(wc -l <<<"$boxes")" 1
  box=$(head -n 1 <<<"$boxes")
  expect_equal "$start start: it says the disk is full and the list stays" \
    "$(message_text "$(field "$box" hwnd)")" "$said"
  dismiss_message_box "$box"
  find_window Form1
  read_main_window
  expect_equal "$start start: the old list is on the screen" "$(list_rows "$list_hwnd")" \
    "$(mame_description galaxian)"
  expect_true "$start start: and on the disk" cmp -s "$program_dir/gamelist" "$work/old-gamelist"
  expect_equal "$start start: nothing of the new list is left" "$(program_files)" \
    "$(printf 'gamelist\nkeston.exe\nkeston.ini')"
  stop_keston
  expect_equal "$start start: the old stamp stays" "$(setting mamestamp)" "$stamp"
done

e2e_finish
