#!/usr/bin/env bash
# A player placed in day 2 with its first level, the Seek level "d2_seek",
# to resume: Play opens it at once, and a player's clicks play it:
#   - the goal message closes, and the scene shows with the silhouette list
#     on the right;
#   - a click on the Red Star finds it: the log reports its flight's end
#     with its list line, the star is gone from the scene, and its line's
#     silhouette has faded;
#   - SIGTERM ends the program with status 0 and saves the running level:
#     profiles.xml holds the list and the find; the next start resumes it
#     with the star gone and its line faint;
#   - in day 3, d3_seek_dark: the text list on the right, the scene dark
#     but for the light that follows the mouse;
#   - d3_seek_grey: the list on the left, the scene in grey, the clouds
#     moving across the sky.
# Usage: SeekUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

qm_e2e_init "${1:?usage: SeekUnderXvfb.sh PROGRAM}"
level_file="$QM_DATA/levels/d2_seek/level.xml"
scene="$QM_DATA/levels/d2_seek/scene.png"
[ -f "$level_file" ] || qm_fail "no $level_file"

mkdir -p "$QM_USER"
sed 's/<game >/<game currentProfile="Fox" >/' "$QM_DATA/scripts/game.xml" >"$QM_USER/game.xml"
grep -q 'currentProfile="Fox"' "$QM_USER/game.xml" || qm_fail "could not place the player in game.xml"
printf '\xEF\xBB\xBF<?xml version="1.0" encoding="UTF-8"?>\r\n<profiles >\r\n\t<profile name="Fox" >\r\n\t\t<stats currentDay="1" playDay="1" playLev="0" easyMode="false" />\r\n\t</profile>\r\n</profiles>\r\n' \
  >"$QM_USER/profiles.xml"

# The point to click on an object of the level file: its middle, but on the
# rim of a ring and on the body of a moon (their middles are clear).
click_point() { # name
  local line x y w h
  line=$(grep -o "<object name=\"$1\"[^>]*" "$level_file") || qm_fail "no object \"$1\" in the level file"
  read -r x y <<<"$(sed 's/.*pos="\([0-9]*\),\([0-9]*\)".*/\1 \2/' <<<"$line")"
  read -r w h <<<"$(sed 's/.*dims="\([0-9]*\),\([0-9]*\)".*/\1 \2/' <<<"$line")"
  case "$1" in
    *Ring) echo "$((x + w / 2)) $((y + h / 2 - (w / 2 - 2) * 74 / 100))" ;;
    *Moon) echo "$((x + w / 2 - (w / 2 - 2) * 70 / 100)) $((y + h / 2))" ;;
    *) echo "$((x + w / 2)) $((y + h / 2))" ;;
  esac
}
# The scene's own colour at a point of the board (it stands at 0, 0).
scene_point() { # x y
  echo "$1 $2 $(qm_pixel "$scene" "$1" "$2") 45"
}
ok_button="400 357"

# Play resumes the level; its goal message comes with the clock's third
# state and is closed with OK, and the list's parchment shows undimmed.
open_level() { # how many goal messages the log then holds
  qm_game_start
  qm_to_menu
  qm_click 400 270
  qm_wait_log 40 "TheZentaScript::DoState() - CS_STATE_MAP_STARTLEVEL" 1
  qm_wait_log 60 "GameMode::DoState() - GM_STATE_HIDECLOCK" "$1"
  qm_wait_until 30 ok_until_undimmed || qm_fail "the goal message did not close:$QM_MISMATCH"
}
# OK pressed (again) until the dialog has gone and the screen is undimmed.
ok_until_undimmed() {
  qm_click $ok_button
  sleep 1
  qm_capture_matches "700 30 238 222 184 30" "640 300 238 222 184 40"
}

open_level 1
# The list may still be drawing in when the parchment shows: a busy machine
# draws few frames, so it is looked at until it shows.
list_shown() {
  qm_capture "$QM_WORK/opened.png"
  white=$(convert "$QM_WORK/opened.png" -crop "150x400+$((QM_WX + 640))+$((QM_WY + 70))" +repage \
    -fuzz 6% -fill black +opaque white -fill white -opaque white -format '%[fx:round(mean*w*h)]' info:)
  [ "${white:-0}" -gt 1500 ]
}
qm_wait_until 30 list_shown || qm_fail "the silhouette list shows $white white pixels"
echo "opened: the scene and the silhouette list on the right ($white white pixels)"

read -r sx sy <<<"$(click_point "Red Star")"
qm_click "$sx" "$sy"
qm_wait_log 20 "Mod finished. Name of obj: Red Star." 1
qm_wait_pixels 20 "$(scene_point "$sx" "$sy")"
echo "the Red Star found: flown away, gone from the scene"
# Its line (the first: priority names lead the list) keeps a faint white.
qm_capture "$QM_WORK/found.png"
line_white=$(convert "$QM_WORK/found.png" -crop "60x60+$((QM_WX + 650))+$((QM_WY + 76))" +repage \
  -fuzz 6% -fill black +opaque white -fill white -opaque white -format '%[fx:round(mean*w*h)]' info:)
[ "${line_white:-1}" -eq 0 ] || qm_fail "the found line still shows $line_white white pixels"
echo "its line has faded"
qm_game_stop
grep -q 'itemsFound="[^"]*Red Star' "$QM_USER/profiles.xml" || qm_fail "profiles.xml does not hold the find"
grep -q ' items="[^"]*Red Star' "$QM_USER/profiles.xml" || qm_fail "profiles.xml does not hold the list"
echo "SIGTERM: status 0, the running level saved"

# The next start resumes the level as it was left: no goal message, the
# star gone, its line faint.
qm_game_start
qm_to_menu
qm_click 400 270
qm_wait_log 60 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
qm_wait_pixels 30 "700 30 238 222 184 30" "$(scene_point "$sx" "$sy")"
qm_capture "$QM_WORK/resumed.png"
line_white=$(convert "$QM_WORK/resumed.png" -crop "60x60+$((QM_WX + 650))+$((QM_WY + 76))" +repage \
  -fuzz 6% -fill black +opaque white -fill white -opaque white -format '%[fx:round(mean*w*h)]' info:)
[ "${line_white:-1}" -eq 0 ] || qm_fail "the found line shows $line_white white pixels after resuming"
# The same list in the same order: the list panel as it was left.
convert "$QM_WORK/found.png" -crop "150x460+$((QM_WX + 645))+$((QM_WY + 70))" +repage "$QM_WORK/list_left.png"
convert "$QM_WORK/resumed.png" -crop "150x460+$((QM_WX + 645))+$((QM_WY + 70))" +repage "$QM_WORK/list_resumed.png"
differ=$(compare -metric AE -fuzz 12% "$QM_WORK/list_left.png" "$QM_WORK/list_resumed.png" null: 2>&1)
[ "${differ%%.*}" -lt 300 ] || qm_fail "the list differs from the one left in $differ pixels"
echo "resumed: the same list ($differ pixels apart), the star still gone, its line still faint"
qm_game_stop

# Mean brightness (0 to 255) of a square of the screen around a point.
brightness() { # file x y
  convert "$1" -crop "20x20+$((QM_WX + $2 - 10))+$((QM_WY + $3 - 10))" +repage -colorspace Gray \
    -format '%[fx:round(255*mean)]' info:
}
# A player in day 3 resuming its second level, then its first.
day3_profile() { # level
  printf '\xEF\xBB\xBF<?xml version="1.0" encoding="UTF-8"?>\r\n<profiles >\r\n\t<profile name="Fox" >\r\n\t\t<stats currentDay="2" playDay="2" playLev="%s" easyMode="false" />\r\n\t</profile>\r\n</profiles>\r\n' \
    "$1" >"$QM_USER/profiles.xml"
}

day3_profile 1
qm_game_start
qm_to_menu
qm_click 400 270
qm_wait_log 60 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
qm_wait_until 30 ok_until_undimmed || qm_fail "d3_seek_dark's goal message did not close:$QM_MISMATCH"
qm_move 150 300
sleep 1
qm_capture "$QM_WORK/dark_left.png"
qm_move 480 300
sleep 1
qm_capture "$QM_WORK/dark_right.png"
lit=$(brightness "$QM_WORK/dark_left.png" 150 300)
unlit=$(brightness "$QM_WORK/dark_right.png" 150 300)
[ "$lit" -gt $((unlit + 25)) ] ||
  qm_fail "the dark scene at 150,300 is $lit under the light and $unlit away from it"
words=$(convert "$QM_WORK/dark_right.png" -crop "150x400+$((QM_WX + 640))+$((QM_WY + 70))" +repage \
  -colorspace Gray -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:)
[ "${words:-0}" -gt 400 ] || qm_fail "the text list on the right shows $words dark pixels"
echo "d3_seek_dark: the light follows the mouse ($lit against $unlit); the text list on the right"
qm_game_stop

day3_profile 0
qm_game_start
qm_to_menu
qm_click 400 270
qm_wait_log 60 "GameMode::DoState() - GM_STATE_HIDECLOCK" 1
qm_wait_until 30 qm_capture_matches "100 300 238 222 184 40" ||
  { qm_click $ok_button; qm_wait_pixels 30 "100 300 238 222 184 40"; }
# The goal message's veil may still be fading off the scene when the list
# already matches, so the grey is awaited rather than read once.
grey_scene() {
  local p r g b
  qm_capture "$QM_WORK/grey1.png"
  QM_MISMATCH=""
  for p in "300 300" "450 450" "600 250"; do
    read -r r g b <<<"$(qm_pixel "$QM_WORK/grey1.png" $((QM_WX + ${p% *})) $((QM_WY + ${p#* })))"
    [ $((r > g ? r - g : g - r)) -le 6 ] && [ $((g > b ? g - b : b - g)) -le 6 ] ||
      QM_MISMATCH="$QM_MISMATCH $r $g $b at $p;"
  done
  [ -z "$QM_MISMATCH" ]
}
qm_wait_until 30 grey_scene || qm_fail "the grey scene shows$QM_MISMATCH"
sleep 3
qm_capture "$QM_WORK/grey2.png"
sky1=$(convert "$QM_WORK/grey1.png" -crop "600x60+$((QM_WX + 190))+$((QM_WY + 10))" +repage -format '%#' info:)
sky2=$(convert "$QM_WORK/grey2.png" -crop "600x60+$((QM_WX + 190))+$((QM_WY + 10))" +repage -format '%#' info:)
[ "$sky1" != "$sky2" ] || qm_fail "the sky did not move in 3 s"
echo "d3_seek_grey: the list on the left, the scene in grey, the sky moving"
qm_game_stop
