#!/usr/bin/env bash
# Plays the first Jigsaw level under a virtual X server as a player would,
# with xdotool, from a user folder that holds a player "Fox" whose board of
# d1_jigsaw stands two swaps from the goal (pieces 0 and 1, and 2 and 3, of
# the top row trade places):
#   - Play opens the map, the level's thumbnail starts the level, and its
#     goal message shows once;
#   - two clicks swap two pieces: both cells show their own part of the
#     picture once the move has ended;
#   - the game menu's main-menu button leaves, Play resumes the level at
#     once with every piece where it was (the screen and profiles.xml);
#   - the last swap wins: the award screen shows wallpaper 1, Continue opens
#     the results, their OK fades back to the map, where the level's
#     thumbnail no longer starts it;
#   - profiles.xml holds d1_jigsaw "complete", a score of 1000 (no hint),
#     the time left and wallpaper 1 unlocked; the gallery shows it.
# Usage: JigsawUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: JigsawUnderXvfb.sh PROGRAM}"

picture="$QM_DATA/levels/d1_jigsaw/picture.jpg"
[ -f "$picture" ] || qm_fail "no picture at $picture"

# The player's files, as the game writes them.
mkdir -p "$QM_USER"
sed 's/<game >/<game currentProfile="Fox" >/' "$QM_DATA/scripts/game.xml" >"$QM_USER/game.xml"
grep -q 'currentProfile="Fox"' "$QM_USER/game.xml" || qm_fail "could not name the player in game.xml"
rest=""
for r in 1 2; do
  for c in 0 1 2 3; do rest="$rest$c,$r,$c,$r;"; done
done
stored="1,0,0,0;0,0,1,0;3,0,2,0;2,0,3,0;$rest"
printf '\xef\xbb\xbf<?xml version="1.0" encoding="UTF-8"?>\r\n<profiles >\r\n\t<profile name="Fox" >\r\n\t\t<stats easyMode="false" startAnimation="true" story_day1_prestory="1" currentDay="0" />\r\n\t\t<levels >\r\n\t\t\t<day_0 >\r\n\t\t\t\t<d1_jigsaw positions="%s" />\r\n\t\t\t</day_0>\r\n\t\t</levels>\r\n\t</profile>\r\n</profiles>\r\n' \
  "$stored" >"$QM_USER/profiles.xml"
profiles="$QM_USER/profiles.xml"

# Points of the picture's cell (c, r) of 150 x 150 as the board shows it at
# (44, 44), away from the cell's edges (a piece grows a little under the
# mouse); "gx gy r g b tol" for qm_wait_pixels.
cell_points() { # board-c board-r picture-c picture-r
  local bc=$1 br=$2 pc=$3 pr=$4 dx dy
  local p
  for p in "40 40" "110 100"; do
    read -r dx dy <<<"$p"
    echo "$((44 + bc * 150 + dx)) $((44 + br * 150 + dy)) $(qm_pixel "$picture" $((pc * 150 + dx)) $((pr * 150 + dy))) 28"
  done
}
# Whether the last capture shows the picture's cell (pc, pr) in the board's
# cell (bc, br).
shows() {
  local points
  mapfile -t points < <(cell_points "$@")
  qm_screen_matches "${points[@]}"
}
wait_cells() { # seconds "bc br pc pr"...
  local seconds=$1 cell points=()
  shift
  for cell in "$@"; do
    # shellcheck disable=SC2086
    mapfile -t -O "${#points[@]}" points < <(cell_points $cell)
  done
  qm_wait_pixels "$seconds" "${points[@]}"
}
click_cell() { qm_click $((44 + $1 * 150 + 75)) $((44 + $2 * 150 + 75)); }

qm_game_start
qm_to_menu
# Play: the map (its opening animation and the day's story seen before),
# then the first level.
qm_click 400 270
qm_wait_log 30 "ZentaLevelMap::DoState() - LM_STATE_ANIM_FINISHED" 1
sleep 1
qm_click 175 235
qm_wait_log 30 "GameMode::DoState() - GM_STATE_SHOWCLOCK" 1
echo "the map started d1_jigsaw"

# The goal message once the clock has shown itself (its dark panel over
# the board); its OK lets play begin.
qm_wait_log 30 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
qm_wait_pixels 10 "230 380 18 24 56 12" "450 380 18 24 56 12"
qm_click 400 358
echo "the goal message shows"

# The board as stored: the top row's two pairs trade places.
wait_cells 20 "0 0 1 0" "1 0 0 0" "2 0 3 0" "3 0 2 0" "0 1 0 1" "3 2 3 2"
echo "the stored board is shown"

# A swap: the first two cells take their own parts.
click_cell 0 0
sleep 0.4
click_cell 1 0
wait_cells 10 "0 0 0 0" "1 0 1 0" "2 0 3 0" "3 0 2 0"
cp "$QM_SHOT" "$QM_WORK/swapped.png"
echo "two pieces swapped"

# The game menu's main-menu button: the level is left and stored.
qm_click 100 574
sleep 1
qm_click 400 371
qm_wait_log 30 "CS_STATE_AFTERGAME_SHOWMENU" 1
want="0,0,0,0;1,0,1,0;3,0,2,0;2,0,3,0;$rest"
qm_wait_until 20 grep -q "positions=\"$want\"" "$profiles" || qm_fail "profiles.xml does not hold the board as left"
echo "left to the main menu; profiles.xml holds the board as it was"

# Play resumes the level with every piece where it was.
qm_to_menu
qm_click 400 270
qm_wait_log 30 "GameMode::DoState() - GM_STATE_SHOWCLOCK" 2
wait_cells 20 "0 0 0 0" "1 0 1 0" "2 0 3 0" "3 0 2 0"
echo "Play resumed d1_jigsaw as it was left"
# Past the point where the goal message came: it does not come again.
qm_wait_log 30 "GameMode::DoState() - GM_STATE_HIDECLOCK" 2
sleep 1.5
wait_cells 5 "1 1 1 1" "2 1 2 1"
echo "the goal message showed once"
[ "$(qm_log_count "Error:")" = 0 ] || qm_fail "error lines in the log"

# The last swap wins: the pieces fade in, the results follow.
click_cell 2 0
sleep 0.4
click_cell 3 0
# Wallpaper 1 is awarded: its thumbnail on the award screen, then Continue.
thumb="$QM_DATA/images/wallpapers/thumb_wlp_01_wide.jpg"
qm_wait_log 20 "Image loaded \"images/wallpapers/thumb_wlp_01_wide.jpg\"" 1
qm_wait_pixels 20 "400 285 $(qm_pixel "$thumb" 120 75) 14" "330 240 $(qm_pixel "$thumb" 50 30) 14"
cp "$QM_SHOT" "$QM_WORK/award.png"
echo "the award screen shows wallpaper 1"
sleep 1
qm_click 410 458
qm_wait_log 20 "GameMode::DoState() - GM_STATE_SHOWWIN" 1
qm_wait_log 20 "GameModeJigsaw::DoState() - GMPZ_STATE_SHOWRESULTS" 1
solved=""
for r in 0 1 2; do
  for c in 0 1 2 3; do solved="$solved$c,$r,$c,$r;"; done
done
qm_wait_until 20 grep -q "positions=\"$solved\"" "$profiles" || qm_fail "profiles.xml does not hold the finished board"
qm_capture
cp "$QM_SHOT" "$QM_WORK/won.png"
echo "the board is finished; the results open"
sleep 3
qm_capture "$QM_WORK/results.png"
sleep 3
# OK: the first click may only finish the lines' entrance.
for _ in 1 2 3; do
  qm_log_has "GameModeJigsaw::DoState() - GMPZ_STATE_QUIT" 1 && break
  qm_click 400 450
  sleep 1
done
qm_wait_log 20 "GameModeJigsaw::DoState() - GMPZ_STATE_FINISHED" 1
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_AFTERGAME_SHOWMAP" 1
echo "OK faded back to the map"

grep -q 'd1_jigsaw="complete"' "$profiles" || qm_fail "profiles.xml does not hold d1_jigsaw as complete"
grep -q 'score="1000"' "$profiles" || qm_fail "profiles.xml does not hold the score 1000"
grep -q 'timeLeft="[0-9][0-9]*"' "$profiles" || qm_fail "profiles.xml holds no time left"
echo "profiles.xml: d1_jigsaw complete, score 1000, timeLeft"

# The finished level's thumbnail starts nothing.
sleep 3
qm_click 175 235
sleep 3
[ "$(qm_log_count "GameMode::DoState() - GM_STATE_SHOWCLOCK")" = 2 ] || qm_fail "the finished level started again"
echo "the map's d1_jigsaw no longer starts"
grep -q 'wallpapers="10000000000000000000"' "$profiles" || qm_fail "profiles.xml does not hold wallpaper 1 unlocked"

# Back to the menu; the gallery opens now and shows wallpaper 1.
qm_click 160 552
qm_wait_log 20 "TheZentaScript::DoState() - CS_STATE_MAP_SHOWMENU"
qm_move 700 560
mapfile -t menu < <(qm_menu_points)
qm_wait_pixels 20 "${menu[@]}"
qm_click 400 336
qm_wait_until 30 grep -q "ZentaMainMenu::DoState() - ZENTAMM_STATE_GALLERY" "$QM_LOG" ||
  qm_fail "the gallery did not open"
qm_wait_pixels 20 "140 250 $(qm_pixel "$QM_DATA/images/wallpapers/wall_01_thumb.jpg" 80 150) 14"
cp "$QM_SHOT" "$QM_WORK/gallery.png"
echo "the gallery shows wallpaper 1"

qm_game_stop
echo "SIGTERM: status 0"
