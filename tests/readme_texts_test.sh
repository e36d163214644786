#!/usr/bin/env bash
# Every text that the user's README.txt quotes ("Play", "Close After
# Playing", a start-up text, ...) is one the program shows: a string literal
# of the program's own sources, on a line that is not a comment. A quote must
# open and close on one line of the README, so that none goes unchecked.
set -u
root=${1:?usage: readme_texts_test.sh SOURCE_DIR}
readme=$root/assets/README.txt.in
program=(app ui launch catalogue settings toolkit shape)

failures=0
checked=0
fail() { printf 'FAIL: %s\n' "$1"; failures=$((failures + 1)); }

# The program's literal "TEXT" outside comments.
in_program() { # TEXT
  (cd "$root" && grep -rhF --include='*.cpp' --include='*.h' -- "\"$1\"" "${program[@]}") |
    grep -qv '^[[:space:]]*//'
}

number=0
while IFS= read -r line; do
  number=$((number + 1))
  quotes=${line//[^\"]/}
  if [ $((${#quotes} % 2)) -ne 0 ]; then
    fail "line $number opens a quote it does not close: $line"
    continue
  fi
  while IFS= read -r quoted; do
    [ -n "$quoted" ] || continue
    text=${quoted:1:${#quoted}-2}
    checked=$((checked + 1))
    in_program "$text" || fail "line $number quotes \"$text\", which the program does not show"
  done < <(grep -o '"[^"]*"' <<<"$line")
done <"$readme"

[ "$checked" -gt 0 ] || fail "no quoted text found in $readme"
printf '%d quoted texts checked, %d not in the program\n' "$checked" "$failures"
[ "$failures" -eq 0 ]
