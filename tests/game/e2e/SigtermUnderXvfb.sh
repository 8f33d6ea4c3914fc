#!/usr/bin/env bash
# A new player's first level ended by SIGTERM (as at a logout), under a
# virtual X server with xdotool and a user folder that starts empty:
#   - Play opens the new-profile dialog; "Wren" and Enter make the player,
#     Easy answers the easy-mode question, and the map opens on day 1's
#     opening page, which two clicks take away;
#   - the map's first thumbnail starts d1_jigsaw; its goal message is
#     closed with OK;
#   - two clicks swap two pieces, which the screen shows once the move has
#     ended;
#   - SIGTERM ends the program with status 0, and profiles.xml holds the
#     level to resume and its board as the screen last showed it;
#   - the next start's Play resumes the level at once, the swapped pieces
#     where they were left.
# Usage: SigtermUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: SigtermUnderXvfb.sh PROGRAM}"
picture="$QM_DATA/levels/d1_jigsaw/picture.jpg"
[ -f "$picture" ] || qm_fail "no picture at $picture"
profiles="$QM_USER/profiles.xml"
play="400 270"
ok_button="400 358"

# The board: 4 x 3 cells of 150 x 150 at (44, 44). Two points of each cell,
# away from its edges (a piece grows a little under the mouse).
offsets=("40 40" "110 100")
cell_point() { # c r k: the game point of cell (c, r)'s k-th sample
  local dx dy
  read -r dx dy <<<"${offsets[$3]}"
  echo "$((44 + $1 * 150 + dx)) $((44 + $2 * 150 + dy))"
}
click_cell() { qm_click $((44 + $1 * 150 + 75)) $((44 + $2 * 150 + 75)); }
# The colour a capture shows at cell (c, r)'s k-th sample.
shown() { # file c r k
  local gx gy sx sy
  read -r gx gy <<<"$(cell_point "$2" "$3" "$4")"
  read -r sx sy <<<"$(qm_to_screen "$gx" "$gy")"
  qm_pixel "$1" "$sx" "$sy"
}
# "gx gy r g b tol" for each sample of board cell (c, r) showing the
# picture's cell (pc, pr).
picture_points() { # c r pc pr
  local k dx dy gx gy
  for k in 0 1; do
    read -r dx dy <<<"${offsets[$k]}"
    read -r gx gy <<<"$(cell_point "$1" "$2" "$k")"
    echo "$gx $gy $(qm_pixel "$picture" $(($3 * 150 + dx)) $(($4 * 150 + dy))) 28"
  done
}
# Every cell as the stored positions place the pieces: each entry names a
# cell and the home (the picture's cell) of the piece standing in it.
stored_points() { # positions
  local entry c r pc pr
  IFS=';' read -ra entries <<<"$1"
  for entry in "${entries[@]}"; do
    IFS=',' read -r c r pc pr <<<"$entry"
    picture_points "$c" "$r" "$pc" "$pr"
  done
}
stored_positions() {
  grep -o '<d1_jigsaw [^>]*positions="[^"]*"' "$profiles" | sed 's/.*positions="\([^"]*\)"/\1/'
}
# Whether a capture shows "gx gy r g b tol"... with the window's client
# area at (wx, wy) (the window may be gone by then); every pixel read in
# one pass, as two dozen reads one by one outlast a wait on a loaded
# machine. The misses go to QM_MISMATCH.
file_matches() { # file wx wy point...
  local file=$1 wx=$2 wy=$3 format="" point gx gy r g b tolerance i=0
  shift 3
  for point in "$@"; do
    read -r gx gy _ <<<"$point"
    format+="%[fx:round(255*p{$((wx + gx)),$((wy + gy))}.r)] %[fx:round(255*p{$((wx + gx)),$((wy + gy))}.g)] "
    format+="%[fx:round(255*p{$((wx + gx)),$((wy + gy))}.b)]\n"
  done
  mapfile -t got < <(convert "$file" -format "$format" info:)
  QM_MISMATCH=""
  for point in "$@"; do
    read -r gx gy r g b tolerance <<<"$point"
    qm_near "${got[i]:-}" "$r $g $b" "$tolerance" ||
      QM_MISMATCH="$QM_MISMATCH ($gx,$gy): got (${got[i]:-}), want ($r $g $b);"
    i=$((i + 1))
  done
  [ -z "$QM_MISMATCH" ]
}
screen_matches() { # point...
  qm_running || qm_fail "the program ended"
  qm_capture && file_matches "$QM_SHOT" "$QM_WX" "$QM_WY" "$@"
}
# The window's client area, where the game's picture stands unscaled.
window_place() {
  qm_window_geometry
  [ "$QM_WW" = "$QM_GAME_WIDTH" ] && [ "$QM_WH" = "$QM_GAME_HEIGHT" ] || qm_fail "the window is ${QM_WW}x$QM_WH"
}

ok_until_play() { # the goal message's OK until its dark panel has gone
  qm_click $ok_button
  sleep 1
  ! qm_capture_matches "230 380 18 24 56 12" "450 380 18 24 56 12"
}

# A new player, made through the menu.
qm_game_start
qm_to_menu
[ ! -s "$profiles" ] || ! grep -q '<profile ' "$profiles" || qm_fail "a new user folder holds a profile"
qm_click $play
sleep 2
qm_type Wren
qm_key Return
qm_wait_until 20 grep -q 'name="Wren"' "$profiles" || qm_fail "Wren was not made"
# The easy-mode question darkens the menu.
mapfile -t menu_dark < <(qm_menu_points | awk '{ printf "%d %d %d %d %d %d\n", $1, $2, $3 * 128 / 255, $4 * 128 / 255, $5 * 128 / 255, $6 }')
qm_wait_pixels 30 "${menu_dark[@]}"
sleep 1
qm_click 300 372
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_MENU_SHOWMAP" 1
echo "Wren made through the menu"

# Day 1's opening page, clicked away (the first click may only end its
# effects), then the map's first thumbnail.
qm_wait_until 60 grep -q 'story_day1_prestory="1"' "$profiles" ||
  qm_wait_log 60 "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 1
for _ in 1 2 3 4 5 6; do
  qm_log_has "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 1 && break
  qm_click 400 300
  qm_wait_until 4 qm_log_has "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 1
done
qm_wait_log 30 "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 1
sleep 2
qm_click 175 235
qm_wait_log 30 "GameMode::DoState() - GM_STATE_SHOWCLOCK" 1
qm_wait_log 30 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
qm_wait_until 30 ok_until_play || qm_fail "the goal message did not close"
echo "the opening page closed; the map started d1_jigsaw; its goal message closed"

# Two cells whose pieces look apart, so that their swap shows.
qm_move 760 560
sleep 1
qm_capture "$QM_WORK/before.png"
first="" second=""
for pair in "0 0 1 0" "0 0 2 0" "1 1 2 1" "0 2 3 2"; do
  read -r ac ar bc br <<<"$pair"
  for k in 0 1; do
    qm_near "$(shown "$QM_WORK/before.png" "$ac" "$ar" "$k")" "$(shown "$QM_WORK/before.png" "$bc" "$br" "$k")" 40 ||
      { first="$ac $ar" second="$bc $br"; break 2; }
  done
done
[ -n "$first" ] || qm_fail "no two cells of the shuffled board look apart"
want=()
for k in 0 1; do
  # shellcheck disable=SC2086
  read -r gx gy <<<"$(cell_point $second $k)"
  # shellcheck disable=SC2086
  want+=("$gx $gy $(shown "$QM_WORK/before.png" $first $k) 28")
  # shellcheck disable=SC2086
  read -r gx gy <<<"$(cell_point $first $k)"
  # shellcheck disable=SC2086
  want+=("$gx $gy $(shown "$QM_WORK/before.png" $second $k) 28")
done
# shellcheck disable=SC2086
click_cell $first
sleep 0.4
# shellcheck disable=SC2086
click_cell $second
qm_move 760 560
qm_wait_pixels 20 "${want[@]}"
cp "$QM_SHOT" "$QM_WORK/swapped.png"
window_place
[ "$(qm_log_count "Error:")" = 0 ] || qm_fail "error lines in the log"
echo "cells ($first) and ($second) swapped"

# SIGTERM: status 0, and the level saved as the screen shows it.
qm_game_stop
grep -q 'playDay="0"' "$profiles" || qm_fail "profiles.xml does not hold day 1 to resume"
grep -q 'playLev="0"' "$profiles" || qm_fail "profiles.xml does not hold d1_jigsaw to resume"
positions=$(stored_positions)
[ -n "$positions" ] || qm_fail "profiles.xml holds no board of d1_jigsaw"
mapfile -t board < <(stored_points "$positions")
[ "${#board[@]}" = 24 ] || qm_fail "the stored board \"$positions\" does not place 12 pieces"
# The window is gone by now: its place is the one it had at the capture.
file_matches "$QM_WORK/swapped.png" "$QM_WX" "$QM_WY" "${board[@]}" || qm_fail "the stored board is not the one the screen showed:$QM_MISMATCH"
echo "SIGTERM: status 0; profiles.xml holds the board as it was left ($positions)"

# The next start: Play resumes the level at once, every piece where it was.
qm_game_start
qm_to_menu
qm_click $play
qm_wait_log 60 "GameMode::DoState() - GM_STATE_SHOWCLOCK" 1
qm_move 760 560
window_place
qm_wait_until 30 screen_matches "${board[@]}" "${want[@]}" ||
  qm_fail "the resumed board is not the one left:$QM_MISMATCH"
cp "$QM_SHOT" "$QM_WORK/resumed.png"
[ "$(qm_log_count "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED")" = 0 ] ||
  qm_fail "Play went through the map instead of resuming the level"
[ "$(qm_log_count "Error:")" = 0 ] || qm_fail "error lines in the log"
echo "Play resumed d1_jigsaw with the swap kept"
qm_game_stop
echo "SIGTERM: status 0"
