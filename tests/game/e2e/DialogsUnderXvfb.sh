#!/usr/bin/env bash
# The showcase's file dialog, tutorial and pop-up menu driven as a player
# would, under a virtual X server with xdotool:
#   - "Pick image" opens at the program folder without "[ .. ]"; a double
#     click on "[ images ]" enters it with "[ .. ]" first, and "[ .. ]"
#     returns; a click on a PNG shows it scaled into the preview, and OK
#     logs "images/NAME.png"; "Pick sound" closed with Escape picks nothing;
#   - the tutorial pages with Next and Back, ignores Escape, and closes with
#     Enter or OK;
#   - the pop-up menu: picking its third row logs 11 with the row's text,
#     then 10 with empty text, then 10 "OK"; a click outside closes it with
#     the two code-10 messages and no 11.
# The listings and the menu's place are read from the showcase's log lines;
# the expected colours come from the generated pictures.
# Usage: DialogsUnderXvfb.sh PROGRAM, the showcase program (showcase_demo).
# Exit 77 (skipped) only without Xvfb or xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: DialogsUnderXvfb.sh PROGRAM}" "The Quillmarsh - Showcase"
images="$QM_DATA/images"

# The small buttons (120 x 36) in their row, by their centres.
pick_image="190 446"
pick_sound="330 446"
tutorial_button="470 446"
menu_button="610 446"
quit_button="520 502"
# The file dialogs' corner and their list's first row's top.
files_at="150 80"
list_x=230
list_top=132
tutorial_at="150 100"

# "gx gy r g b tol": a point of a dialog at (dx, dy) from its corner
# showing the frame picture's pixel (fx, fy).
frame_point() { # dx dy fx fy corner
  local cx cy
  read -r cx cy <<<"$5"
  echo "$((cx + $1)) $((cy + $2)) $(qm_pixel "$images/gui/dialog_frame.png" "$3" "$4") 30"
}
dialog_open() { # corner
  frame_point 190 5 36 5 "$1"
  frame_point 10 150 10 36 "$1"
}
backdrop=("700 100 $(qm_pixel "$images/showcase_bg.png" 700 100) 12")

# The last listing of a folder below the start ("" for the start itself).
listing() {
  grep -F "Showcase - files in \"$1\" (" "$QM_LOG" | tail -n 1 | tr -d '\r' | sed -E 's/.*Showcase - //'
}
listings() {
  qm_log_count "Showcase - files in \"$1\" ("
}
row_height() {
  sed -E 's/.*\(rows of ([0-9]+) px\).*/\1/' <<<"$1"
}
# The index of a row in a listing line, empty when it is not there.
row_index() { # line row
  awk -v want="$2" 'BEGIN { RS = " [|] " } { sub(/\n$/, ""); if ($0 == want) { print NR - 1; exit } }' \
    <<<"${1#*px): }"
}
row_y() { # line index
  local h
  h=$(row_height "$1")
  echo $((list_top + $2 * h + h / 2))
}
double_click() { # gx gy
  qm_move "$1" "$2"
  sleep 0.1
  xdotool click --repeat 2 --delay 90 1
}

qm_wm_start
qm_game_start
qm_showcase_shown
qm_move 760 40
qm_wait_pixels 40 "${backdrop[@]}"
echo "showcase shown"

# --- The image file dialog.
mapfile -t files_open < <(dialog_open "$files_at")
qm_click $pick_image
qm_wait_pixels 30 "${files_open[@]}"
qm_wait_log 30 'Showcase - files in "" ('
root=$(listing "")
[ -z "$(row_index "$root" "[ .. ]")" ] || qm_fail "the start lists \"[ .. ]\": $root"
at=$(row_index "$root" "[ images ]")
[ -n "$at" ] || qm_fail "no \"[ images ]\" at the start: $root"
echo "Pick image: the program folder, no \"[ .. ]\""

qm_click "$list_x" "$(row_y "$root" "$at")"
double_click "$list_x" "$(row_y "$root" "$at")"
qm_wait_log 30 'Showcase - files in "images/" ('
inside=$(listing "images/")
[ "$(row_index "$inside" "[ .. ]")" = 0 ] || qm_fail "\"[ .. ]\" is not first in images/: $inside"
echo "a double click on [ images ] enters it, [ .. ] first"

qm_click "$list_x" "$(row_y "$inside" 0)"
double_click "$list_x" "$(row_y "$inside" 0)"
qm_wait_log 30 'Showcase - files in "" (' 2
[ "$(listing "")" = "$root" ] || qm_fail "[ .. ] did not return to the start: $(listing "")"
echo "[ .. ] returns to the start"

qm_click "$list_x" "$(row_y "$root" "$at")"
double_click "$list_x" "$(row_y "$root" "$at")"
qm_wait_log 30 'Showcase - files in "images/" (' 2
picture=tutorial_marsh.png
at=$(row_index "$inside" "$picture")
[ -n "$at" ] || qm_fail "no $picture in images/: $inside"
# The folder may hold more rows than the 290-pixel list shows: the wheel
# brings the picture's row into view (a notch a row, no further than the
# last row at the bottom).
h=$(row_height "$inside")
visible=$(((290 - 4) / h))
count=$(awk 'BEGIN { RS = " [|] " } END { print NR }' <<<"${inside#*px): }")
first=$((count - visible < at ? count - visible : at))
[ "$first" -gt 0 ] || first=0
qm_move "$list_x" "$(row_y "$inside" 0)"
for ((i = 0; i < first; i++)); do
  xdotool click 5
  sleep 0.05
done
sleep 0.5
qm_click "$list_x" "$(row_y "$inside" $((at - first)))"
# The preview box is 140 x 140 at (490, 130): the 240 x 140 picture at
# 140/240, its top-left corner on the box's.
preview_point() { # picture x y
  local px=$1 py=$2
  echo "$((490 + px * 140 / 240)) $((130 + py * 140 / 240)) $(qm_pixel "$images/$picture" "$px" "$py") 40"
}
qm_wait_pixels 30 "$(preview_point 170 38)" "$(preview_point 60 20)" "$(preview_point 110 120)"
cp "$QM_SHOT" "$QM_WORK/preview.png"
echo "a click on $picture shows it scaled into the preview"
qm_key Return
qm_wait_log 30 "Showcase - picked \"images/$picture\""
qm_wait_pixels 30 "${backdrop[@]}"
echo "OK: the log holds images/$picture"

qm_click $pick_sound
qm_wait_pixels 30 "${files_open[@]}"
qm_key Escape
qm_wait_log 30 "Showcase - nothing picked"
qm_wait_pixels 30 "${backdrop[@]}"
echo "Pick sound, Escape: nothing picked"

# --- The tutorial: its second page shows the marsh picture at (280, 170).
mapfile -t tutorial_open < <(dialog_open "$tutorial_at")
moon="450 208 $(qm_pixel "$images/tutorial_marsh.png" 170 38) 40"
moon_gone() {
  qm_capture || return 1
  local sx sy
  read -r sx sy <<<"$(qm_to_screen 450 208)"
  ! qm_near "$(qm_pixel "$QM_SHOT" "$sx" "$sy")" "$(cut -d' ' -f3-5 <<<"$moon")" 40
}
back_button="240 458"
ok_button="400 458"
next_button="560 458"
tutorial_line='Showcase - tutorial result "OK"'
qm_click $tutorial_button
qm_wait_pixels 30 "${tutorial_open[@]}"
qm_wait_until 10 moon_gone || qm_fail "the first page shows the picture"
qm_click $next_button
qm_wait_pixels 30 "$moon"
cp "$QM_SHOT" "$QM_WORK/tutorial.png"
qm_click $back_button
qm_wait_until 30 moon_gone || qm_fail "Back did not leave the second page"
qm_click $next_button
qm_wait_pixels 30 "$moon"
echo "the tutorial pages with Next and Back"
qm_key Escape
sleep 1
qm_wait_pixels 5 "$moon" "${tutorial_open[@]}"
[ "$(qm_log_count "$tutorial_line")" = 0 ] || qm_fail "Escape closed the tutorial"
qm_key Return
qm_wait_log 30 "$tutorial_line" 1
qm_wait_pixels 30 "${backdrop[@]}"
qm_click $tutorial_button
qm_wait_pixels 30 "${tutorial_open[@]}"
qm_click $ok_button
qm_wait_log 30 "$tutorial_line" 2
qm_wait_pixels 30 "${backdrop[@]}"
echo "Escape ignored; Enter and OK close it"

# --- The pop-up menu.
menu_lines() {
  grep -F "Showcase - menu 1" "$QM_LOG" | tr -d '\r' | sed -E 's/.*Showcase - menu //'
}
qm_click $menu_button
qm_wait_log 30 "Showcase - menu at "
read -r mx my mh <<<"$(grep -F "Showcase - menu at " "$QM_LOG" | tail -n 1 |
  sed -E 's/.*menu at ([0-9]+),([0-9]+), rows of ([0-9]+) px.*/\1 \2 \3/')"
sleep 0.5
qm_click $((mx + 60)) $((my + 2 + 2 * mh + mh / 2))
qm_wait_log 30 'Showcase - menu 10 "OK"' 1
picked=$(menu_lines)
want=$(printf '%s\n' '11 "Follow the moon"' '10 ""' '10 "OK"')
[ "$picked" = "$want" ] || qm_fail "picking the third row logged: $picked"
echo "the third row: 11 with its text, 10, 10 OK"

qm_click $menu_button
qm_wait_log 30 "Showcase - menu at " 2
sleep 0.5
qm_click 700 100
qm_wait_log 30 'Showcase - menu 10 "OK"' 2
[ "$(menu_lines | tail -n +4)" = "$(printf '%s\n' '10 ""' '10 "OK"')" ] ||
  qm_fail "a click outside logged: $(menu_lines | tail -n +4)"
echo "a click outside: two code-10 messages, no 11"

qm_click $quit_button
qm_game_wait_exit 60
if grep -qE "Error:|Warning:" "$QM_LOG"; then
  grep -E "Error:|Warning:" "$QM_LOG" >&2
  qm_fail "log.txt holds error or warning lines"
fi
echo "Quit: status 0, no error in the log"
