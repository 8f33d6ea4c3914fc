#!/usr/bin/env bash
# Plays the first Puzzle level under a virtual X server as a player would,
# with xdotool, from a user folder that holds a player "Fox" who has done
# d1_jigsaw (wallpaper 1 won, a score of 1000) and whose d1_puzzle board is
# upright but for the sun's piece (at 270) and the house's (at 90):
#   - Play opens the map, the level's thumbnail (beside d1_jigsaw's, in
#     group 0) starts it, and its goal message shows once;
#   - each cell shows its part of the picture turned as stored;
#   - the mouse over an upright piece grows it past its cell, and it
#     shrinks back when the mouse leaves;
#   - a click turns a piece a quarter: the sun's piece comes upright and the
#     counters change once the turn has ended;
#   - the game menu's main-menu button leaves, profiles.xml holds every
#     angle, and Play resumes the level with every piece as it was;
#   - a click and at once the window's close (SIGTERM): profiles.xml holds
#     the angle where that turn ends, and the next start resumes there;
#   - the last turn wins: the award screen shows wallpaper 5, Continue opens
#     the results, their OK fades back to the map;
#   - profiles.xml holds d1_puzzle "complete", a score of 2000 (1000 for the
#     level without a hint) and wallpapers 1 and 5; the map now starts
#     group 1's d1_mirror.
# Usage: PuzzleUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool. QM_E2E_KEEP=1 keeps the captures (stored.png, hover.png,
# turned.png, resumed.png, award.png, won.png, results.png).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: PuzzleUnderXvfb.sh PROGRAM}"

picture="$QM_DATA/levels/d1_puzzle/picture.png"
[ -f "$picture" ] || qm_fail "no picture at $picture"
grep -q 'colsRows="3"' "$QM_DATA/levels/d1_puzzle/level.xml" || qm_fail "d1_puzzle is not 3 x 3"

mkdir -p "$QM_USER"
sed 's/<game >/<game currentProfile="Fox" >/' "$QM_DATA/scripts/game.xml" >"$QM_USER/game.xml"
grep -q 'currentProfile="Fox"' "$QM_USER/game.xml" || qm_fail "could not name the player in game.xml"
# Grid order, row by row: (2,0) the sun's piece at 270, (1,1) the house's
# at 90.
printf '\xef\xbb\xbf<?xml version="1.0" encoding="UTF-8"?>\r\n<profiles >\r\n\t<profile name="Fox" >\r\n\t\t<stats easyMode="false" startAnimation="true" story_day1_prestory="1" currentDay="0" score="1000" wallpapers="10000000000000000000" />\r\n\t\t<levels >\r\n\t\t\t<day_0 d1_jigsaw="complete" >\r\n\t\t\t\t<d1_puzzle angles="0,0,270,0,90,0,0,0,0," />\r\n\t\t\t</day_0>\r\n\t\t</levels>\r\n\t</profile>\r\n</profiles>\r\n' \
  >"$QM_USER/profiles.xml"
profiles="$QM_USER/profiles.xml"

# The picture's point that a piece turned by q quarters clockwise shows at
# (u, v) of its 160 x 160 cell.
source_point() { # q u v
  local q=$1 u=$2 v=$3 t i
  for ((i = 0; i < q; i++)); do
    t=$u
    u=$v
    v=$((159 - t))
  done
  echo "$u $v"
}
# The colours of many pixels of FILE in one reading: "x y" lines in, "r g b"
# lines out.
pixels_of() { # FILE "x y"...
  local file=$1 format="" x y point
  shift
  for point in "$@"; do
    read -r x y <<<"$point"
    format+="%[fx:round(255*p{$x,$y}.r)] %[fx:round(255*p{$x,$y}.g)] %[fx:round(255*p{$x,$y}.b)]\n"
  done
  convert "$file" -format "$format" info:
}
# "gx gy r g b tol" lines: points of cell (c, r) at (44, 44) as the piece
# turned by q quarters shows them, away from the cell's edges (a piece grows
# a little under the mouse).
cell_points() { # "c r q"...
  local cell c r q p u v su sv games=() sources=() colours i
  for cell in "$@"; do
    read -r c r q <<<"$cell"
    for p in "30 40" "124 56" "60 126"; do
      read -r u v <<<"$p"
      read -r su sv <<<"$(source_point "$q" "$u" "$v")"
      games+=("$((44 + c * 160 + u)) $((44 + r * 160 + v))")
      sources+=("$((c * 160 + su)) $((r * 160 + sv))")
    done
  done
  mapfile -t colours < <(pixels_of "$picture" "${sources[@]}")
  for i in "${!games[@]}"; do echo "${games[$i]} ${colours[$i]} 28"; done
}
# Whether a new capture shows every "gx gy r g b tol", read in one go; the
# misses go to QM_MISMATCH.
screen_shows() {
  local screens got i want gx gy r g b tolerance
  qm_running || qm_fail "the program ended"
  qm_capture || return 1
  qm_window_geometry
  mapfile -t screens < <(printf '%s\n' "$@" | awk -v wx="$QM_WX" -v wy="$QM_WY" -v ww="$QM_WW" -v wh="$QM_WH" \
    -v gw="$QM_GAME_WIDTH" -v gh="$QM_GAME_HEIGHT" '
      BEGIN { s = ww / gw; if (wh / gh < s) s = wh / gh; ox = (ww - gw * s) / 2; oy = (wh - gh * s) / 2 }
      { printf "%d %d\n", wx + ox + ($1 + 0.5) * s, wy + oy + ($2 + 0.5) * s }')
  mapfile -t got < <(pixels_of "$QM_SHOT" "${screens[@]}")
  QM_MISMATCH=""
  i=0
  for want in "$@"; do
    read -r gx gy r g b tolerance <<<"$want"
    qm_near "${got[$i]}" "$r $g $b" "$tolerance" || QM_MISMATCH="$QM_MISMATCH ($gx,$gy): got (${got[$i]}), want ($r $g $b);"
    i=$((i + 1))
  done
  [ -z "$QM_MISMATCH" ]
}
wait_cells() { # seconds "c r q"...
  local seconds=$1 points
  shift
  mapfile -t points < <(cell_points "$@")
  qm_wait_until "$seconds" screen_shows "${points[@]}" ||
    qm_fail "the board does not show what it should within $seconds s:$QM_MISMATCH"
}
# A click on cell (c, r), then the mouse off the board, so the piece is not
# left grown by the hover when it is checked.
click_cell() {
  qm_click $((44 + $1 * 160 + 80)) $((44 + $2 * 160 + 80))
  qm_move 680 520
}
# The whole board: every cell upright but those named ("c r q").
board_is() { # seconds "c r q"...
  local seconds=$1 c r cell cells=()
  local -A turned=()
  shift
  for cell in "$@"; do turned["${cell% *}"]=1; done
  for r in 0 1 2; do
    for c in 0 1 2; do
      [ -n "${turned["$c $r"]:-}" ] || cells+=("$c $r 0")
    done
  done
  wait_cells "$seconds" "${cells[@]}" "$@"
}
# The counters' panel as a checksum of its pixels.
counters_sum() {
  local x0 y0 x1 y1
  qm_capture
  read -r x0 y0 <<<"$(qm_to_screen 600 100)"
  read -r x1 y1 <<<"$(qm_to_screen 750 300)"
  convert "$QM_SHOT" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage rgb:- | md5sum | cut -d' ' -f1
}
counters_changed() { [ "$(counters_sum)" != "$1" ]; }
# The tray left of the board, where an upright piece reaches only when it
# has grown.
tray_brightness() {
  qm_capture
  read -r sx sy <<<"$(qm_to_screen 41 124)"
  qm_brightness "$(qm_pixel "$QM_SHOT" "$sx" "$sy")"
}
tray_lit() { [ "$(tray_brightness)" -gt 200 ]; }
tray_dark() { [ "$(tray_brightness)" -lt 140 ]; }
angles_are() { grep -q "angles=\"$1\"" "$profiles"; }
# The message's dark panel over the bright middle of the board.
message_shown() {
  local gx sx sy
  qm_capture || return 1
  for gx in 230 450; do
    read -r sx sy <<<"$(qm_to_screen "$gx" 380)"
    [ "$(qm_brightness "$(qm_pixel "$QM_SHOT" "$sx" "$sy")")" -lt 160 ] || return 1
  done
}

qm_game_start
qm_to_menu
# Play: the map (its opening animation and the day's story seen before),
# then the second thumbnail of day 1.
qm_click 400 270
qm_wait_log 30 "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 1
sleep 1
qm_click 400 355
qm_wait_log 60 "Image loaded \"levels/d1_puzzle/picture.png\"" 1
qm_wait_log 30 "GameMode::DoState() - GM_STATE_SHOWCLOCK" 1
echo "the map started d1_puzzle"

# The goal message once the clock has shown itself; its OK lets play begin.
qm_wait_log 30 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
qm_wait_until 30 message_shown || qm_fail "no goal message over the board"
qm_click 400 358
echo "the goal message shows"

board_is 20 "2 0 3" "1 1 1"
cp "$QM_SHOT" "$QM_WORK/stored.png"
echo "the stored board is shown, every piece turned as stored"

# Hover: the top-left piece, upright, grows over the tray beside it.
qm_wait_until 5 tray_dark || qm_fail "the tray beside the board is not dark ($(tray_brightness))"
qm_move 124 124
qm_wait_until 10 tray_lit || qm_fail "the piece under the mouse did not grow ($(tray_brightness))"
cp "$QM_SHOT" "$QM_WORK/hover.png"
qm_move 680 520
qm_wait_until 10 tray_dark || qm_fail "the piece did not shrink back ($(tray_brightness))"
echo "an upright piece grows under the mouse and shrinks back"

# A turn of the sun's piece: upright, then the counters follow.
before=$(counters_sum)
click_cell 2 0
board_is 10 "1 1 1"
qm_wait_until 10 counters_changed "$before" || qm_fail "the counters did not change after the turn"
cp "$QM_SHOT" "$QM_WORK/turned.png"
echo "a click turned the sun's piece upright; the counters followed"
click_cell 1 1
board_is 10 "1 1 2"
echo "the house's piece turned to 180"

# The game menu's main-menu button: the level is left and stored.
qm_click 100 574
sleep 1
qm_click 400 371
qm_wait_log 30 "CS_STATE_AFTERGAME_SHOWMENU" 1
qm_wait_until 20 angles_are "0,0,360,0,180,0,0,0,0," ||
  qm_fail "profiles.xml does not hold the board as left: $(grep -o 'angles="[^"]*"' "$profiles")"
echo "left to the main menu; profiles.xml holds every angle"

# Play resumes the level as it was.
qm_to_menu
qm_click 400 270
qm_wait_log 30 "GameMode::DoState() - GM_STATE_SHOWCLOCK" 2
board_is 20 "1 1 2"
cp "$QM_SHOT" "$QM_WORK/resumed.png"
echo "Play resumed d1_puzzle as it was left"
qm_wait_log 30 "GameMode::DoState() - GM_STATE_HIDECLOCK" 2
sleep 1.5
board_is 5 "1 1 2"
echo "the goal message showed once"

# A click and soon after the window's close (SIGTERM), within the 250 ms
# of the turn on an unloaded machine (a loaded one may finish the turn
# first; the save holds its end either way). The pause lets the click
# reach the game before the close does.
qm_click 204 204
sleep 0.1
kill -TERM "$QM_PID"
qm_game_wait_exit 60
angles_are "0,0,360,0,270,0,0,0,0," ||
  qm_fail "profiles.xml does not hold the turn's end: $(grep -o 'angles="[^"]*"' "$profiles")"
echo "closed during a turn; profiles.xml holds where it ends"
[ "$(qm_log_count "Error:")" = 0 ] || qm_fail "error lines in the log"
cp "$QM_LOG" "$QM_WORK/log-first.txt"

qm_game_start
qm_to_menu
qm_click 400 270
qm_wait_log 60 "GameMode::DoState() - GM_STATE_SHOWCLOCK" 1
board_is 20 "1 1 3"
qm_wait_log 30 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
sleep 1.5
echo "the next start resumed d1_puzzle at the turn's end"

# The last turn wins; wallpaper 5 is awarded: its thumbnail on the award
# screen, then Continue.
click_cell 1 1
thumb="$QM_DATA/images/wallpapers/thumb_wlp_05_wide.jpg"
qm_wait_log 20 "Image loaded \"images/wallpapers/thumb_wlp_05_wide.jpg\"" 1
qm_wait_pixels 20 "400 285 $(qm_pixel "$thumb" 120 75) 14" "330 240 $(qm_pixel "$thumb" 50 30) 14"
cp "$QM_SHOT" "$QM_WORK/award.png"
echo "the award screen shows wallpaper 5"
sleep 1
qm_click 410 458
qm_wait_log 20 "GameMode::DoState() - GM_STATE_SHOWWIN" 1
qm_wait_log 20 "GameModePuzzle::DoState() - GMPZ_STATE_SHOWRESULTS" 1
qm_wait_until 20 angles_are "0,0,360,0,360,0,0,0,0," || qm_fail "profiles.xml does not hold the finished board"
qm_capture "$QM_WORK/won.png"
echo "the board is upright; the results open"
sleep 3
qm_capture "$QM_WORK/results.png"
sleep 3
# OK: the first click may only finish the lines' entrance.
for _ in 1 2 3; do
  qm_log_has "GameModePuzzle::DoState() - GMPZ_STATE_QUIT" 1 && break
  qm_click 400 450
  sleep 1
done
qm_wait_log 20 "GameModePuzzle::DoState() - GMPZ_STATE_FINISHED" 1
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_AFTERGAME_SHOWMAP" 1
echo "OK faded back to the map"

grep -q 'd1_puzzle="complete"' "$profiles" || qm_fail "profiles.xml does not hold d1_puzzle as complete"
grep -q 'score="2000"' "$profiles" || qm_fail "profiles.xml does not hold the score 2000"
grep -q 'wallpapers="10001000000000000000"' "$profiles" || qm_fail "profiles.xml does not hold wallpapers 1 and 5"
echo "profiles.xml: d1_puzzle complete, score 2000, wallpapers 1 and 5"

# Both levels of group 0 done: the map starts group 1's d1_mirror.
started=""
for _ in $(seq 1 15); do
  qm_click 625 235
  if qm_wait_until 3 qm_log_has "Image loaded \"levels/d1_mirror/original.png\"" 1; then
    started=1
    break
  fi
done
[ -n "$started" ] || qm_fail "the map did not start d1_mirror"
echo "group 1 is open: the map started d1_mirror"
[ "$(qm_log_count "Error:")" = 0 ] || qm_fail "error lines in the log"

qm_game_stop
echo "SIGTERM: status 0"
