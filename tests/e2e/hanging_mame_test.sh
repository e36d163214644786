#!/usr/bin/env bash
# A new MAME that never finishes its game list, run directly (its folder's
# short name holds "&"): the start does not wait for it, the main window comes
# up with the old list, and "X" ends the program at once, ending MAME's run
# and removing what it wrote; the old stamp stays for the next start.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

new_program_folder "Program Folder"
new_mame_folder "a&b"
run_mame -rompath roms -cc
add_roms galaxian pong
old_rows=$(mame_description galaxian)
printf 'Name:             Description:\ngalaxian         "%s"\n' "$old_rows" \
  >"$program_dir/gamelist"
write_settings "mameexe=$mame_exe_windows" "parameters=" "xp=1" "close=0" "mamestamp=1 1"

# Debian's MAME, but for -listfull, which never ends. The bridge's script goes
# on when mame.exe is ended: it is ended with the test.
hang_pid=$work/hanging.pid
cat >"$work/hanging-mame" <<EOF
#!/bin/sh
if [ "\$1" = -listfull ]; then
  echo \$\$ >"$hang_pid"
  exec sleep 600
fi
exec /usr/games/mame "\$@"
EOF
chmod +x "$work/hanging-mame"
on_cleanup "[ -s $(printf %q "$hang_pid") ] && kill \$(cat $(printf %q "$hang_pid"))"

KESTON_REAL_MAME=$work/hanging-mame start_keston
expect_true "MAME's list is under way" wait_until 60 test -s "$hang_pid"
find_window Form1 30
read_main_window
expect_equal "the main window is up with the old list" "$(list_rows "$list_hwnd")" "$old_rows"
expect_true "MAME writes the new list beside it" test -e "$program_dir/gamelist.new"
click_button X
expect_true "\"X\" ends the program at once" wait_until 10 keston_ended
expect_equal "nothing of the new list is left" "$(program_files)" \
  "$(printf 'gamelist\nkeston.exe\nkeston.ini')"
expect_equal "the old stamp stays" "$(setting mamestamp)" "1 1"

e2e_finish
