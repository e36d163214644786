#!/usr/bin/env bash
# The release package as a user gets it: unpacked into an empty folder, it
# holds this build's keston.exe beside README.txt and LICENSE.txt, both with
# CR LF line ends, and the program started from there comes up on its
# first-run configuration panel without writing a file.
# Called with the package's zip after the common arguments.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
package=${4:?package zip missing}
[ -f "$package" ] || die "no package at $package"

# Whether every line of FILE ends with CR LF, the last one too.
crlf_lines() { # FILE
  [ -s "$1" ] && [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' ')" = 0d0a ] &&
    ! grep -q -v $'\r$' "$1"
}

program_dir="$work/Unpacked Folder"
mkdir "$program_dir"
unzip -q "$package" -d "$program_dir"

# --- what the zip holds --------------------------------------------------------
expect_equal "the zip holds keston.exe, README.txt and LICENSE.txt, in no folder" \
  "$(program_files)" $'LICENSE.txt\nREADME.txt\nkeston.exe'
expect_true "keston.exe is this build's" cmp -s "$program_dir/keston.exe" "$keston_exe"
expect_true "README.txt has CR LF line ends" crlf_lines "$program_dir/README.txt"
expect_true "LICENSE.txt has CR LF line ends" crlf_lines "$program_dir/LICENSE.txt"
expect_true "LICENSE.txt is the repository's LICENSE" \
  cmp -s <(sed 's/\r$//' "$program_dir/LICENSE.txt") "$e2e_root/LICENSE"
version=$(basename "$package" | sed -n 's/^keston-\(.*\)-win64\.zip$/\1/p')
expect_true "the zip is named keston-<version>-win64.zip" test -n "$version"
expect_true "README.txt names the zip's version" \
  grep -qF "this is its version $version." "$program_dir/README.txt"
expect_false "README.txt has every placeholder filled" grep -q @ "$program_dir/README.txt"

# --- the first start from the unpacked folder ----------------------------------
start_keston
find_window Form1
read_tree
panel=$(panel1)
expect_equal "the first start shows the configuration panel" "$(field "$panel" visible || true)" 1
edit1=$(children parent="$(field "$panel" hwnd || true)" class=Edit left=16 top=23 visible=1)
expect_true "\"MAME Exe File:\" shown, empty" test -n "$edit1" -a -z "$(field "$edit1" text || true)"
expect_equal "no file written at start-up" "$(program_files)" $'LICENSE.txt\nREADME.txt\nkeston.exe'
click_button X
expect_true "\"X\" ends the program" wait_until 10 keston_ended
expect_equal "nothing written by \"X\"" "$(program_files)" $'LICENSE.txt\nREADME.txt\nkeston.exe'

e2e_finish
