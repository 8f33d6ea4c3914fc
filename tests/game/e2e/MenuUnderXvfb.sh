#!/usr/bin/env bash
# The first minutes of a new player, under a virtual X server with xdotool
# and a fresh user folder:
#   - the first splash picture shows, then the second (pixels of each read
#     while it shows: whole captures are too slow for their seconds on a
#     loaded machine), and a key skips the second;
#   - the menu greets with no player; Play opens the new-profile dialog,
#     and OK on an empty name shows its red error line;
#   - "Fox" and Enter close it and the easy-mode question follows; "Easy"
#     fades the menu towards the map; once the window is closed
#     profiles.xml holds easyMode="true", and after a restart Play asks
#     nothing, and the menu greets FOX (its greeting label differs from
#     the no-player greeting captured at the first menu);
#   - in the players' dialog "Owl" is created and "Fox" deleted after the
#     confirmation;
#   - the options set the music to 0 and untick the custom cursor; Quit
#     fades out and ends the program, whose log holds the script's and the
#     menu's states in order; game.xml holds both options, and the next
#     start draws no cursor picture.
# Captures are kept in the work folder with QM_E2E_KEEP=1.
# Usage: MenuUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
qm_e2e_init "${1:?usage: MenuUnderXvfb.sh PROGRAM}"
images="$QM_DATA/images"

picture_points() { # picture "x,y"...
  local picture=$1 p
  shift
  for p in "$@"; do
    echo "${p%,*} ${p#*,} $(qm_pixel "$picture" "${p%,*}" "${p#*,}") 12"
  done
}
darkened() { # picture x y
  local rgb=($(qm_pixel "$1" "$2" "$3"))
  echo "$2 $3 $((rgb[0] * 128 / 255)) $((rgb[1] * 128 / 255)) $((rgb[2] * 128 / 255)) 12"
}
# How many pixels of a game rectangle of the last capture are plainly red.
red_pixels() { # x y w h
  local x y
  read -r x y <<<"$(qm_to_screen "$1" "$2")"
  convert "$QM_SHOT" -crop "$3x$4+$x+$y" +repage -fx '(r>0.5&&r>g+0.25&&r>b+0.25)?1:0' \
    -format '%[fx:round(mean*w*h)]' info:
}
type_name() {
  local i
  for ((i = 0; i < ${#1}; i++)); do qm_key "${1:i:1}"; done
}
user_file() { # name: the file the game wrote, wherever its folder lies
  find "$QM_WORK/user" -name "$1" | head -n 1
}
# The menu's greeting label (game rectangle 130,554 540x40), cut from a
# fresh capture with the mouse away from it (it lights up under the mouse).
greeting() { # out
  local x y x2 y2
  qm_move 700 560
  sleep 0.5
  qm_capture
  read -r x y <<<"$(qm_to_screen 130 554)"
  read -r x2 y2 <<<"$(qm_to_screen 670 594)"
  convert "$QM_SHOT" -crop "$((x2 - x))x$((y2 - y))+$x+$y" +repage "$1"
}
# How many pixels of a picture are near the label's cream letters.
letter_pixels() { # picture
  convert "$1" -fx '(abs(r-0.965)<0.09&&abs(g-0.910)<0.09&&abs(b-0.784)<0.09)?1:0' \
    -format '%[fx:round(mean*w*h)]' info:
}
# Letters in both greetings, and the two apart by more than a few pixels.
greetings_differ() { # before after
  local a b apart
  a=$(letter_pixels "$1") b=$(letter_pixels "$2")
  apart=$(compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 | cut -d' ' -f1)
  echo "greeting letters $a then $b, $apart pixels apart"
  [ "$a" -gt 100 ] && [ "$b" -gt 100 ] && [ "${apart%.*}" -gt 200 ]
}

mapfile -t brenvik < <(picture_points "$images/splash/brenvik.png" 470,140 700,90 60,560)
# The stone columns stand still beside the scrolling band: the menu is
# known by them, and darkened by them under a dialog.
mapfile -t menu < <(qm_menu_points)
menu_dark=("$(darkened "$images/mainmenu/column_left.png" 20 300)"
  "$(darkened "$images/mainmenu/column_right.png" 44 300 | sed 's/^44 /780 /')")

# One pixel of the screen, read without a whole capture (a loaded machine
# makes whole captures slow next to the splash's seconds).
screen_pixel() { # sx sy
  import -window root -crop "1x1+$1+$2" +repage png:- 2>/dev/null |
    convert - -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:
}
# The second picture's caption: cream letters where the first has dark
# reeds and the menu a rosy sky (less green than the letters).
warm() {
  local c=($1)
  [ "${#c[@]}" = 3 ] && [ "$(qm_brightness "$1")" -gt 150 ] && [ "${c[0]}" -gt $((c[2] + 30)) ] &&
    [ $((c[1] * 10)) -gt $((c[0] * 8)) ]
}
# The splash from the start: 0 when both pictures were seen and a key
# skipped the second, 1 when the machine was too slow to see one in time.
splash_walk() {
  local fx fy fr fg fb sx sy ax ay bx by got deadline
  read -r fx fy fr fg fb _ <<<"${brenvik[0]}"
  read -r sx sy <<<"$(qm_to_screen "$fx" "$fy")"
  read -r ax ay <<<"$(qm_to_screen 700 310)"
  read -r bx by <<<"$(qm_to_screen 175 318)"
  # The first picture, fading or whole: its moon, warm where the second
  # picture and the menu are dark.
  deadline=$((SECONDS + 30))
  while :; do
    qm_running || qm_fail "the program ended during the splash"
    got=($(screen_pixel "$sx" "$sy"))
    [ "${#got[@]}" = 3 ] && [ "$(qm_brightness "${got[*]}")" -gt 40 ] && [ "${got[0]}" -gt "${got[2]}" ] && break
    [ "$(qm_log_count CS_STATE_SPLASHDONE)" = 0 ] && [ "$SECONDS" -lt "$deadline" ] || return 1
  done
  echo "first splash picture on screen (${got[*]} of $fr $fg $fb)"
  # It fades out by itself, and the second fades in.
  deadline=$((SECONDS + 15))
  until warm "$(screen_pixel "$ax" "$ay")" && warm "$(screen_pixel "$bx" "$by")"; do
    [ "$(qm_log_count CS_STATE_SPLASHDONE)" = 0 ] || return 1
    [ "$SECONDS" -lt "$deadline" ] || return 1
  done
  # A key at once: a whole capture first could outlast the picture.
  qm_key space
  echo "second splash picture on screen"
  qm_wait_pixels 30 "${menu[@]}"
  [ "$(qm_log_count "SplashScreen - key up or mouse up message received")" = 1 ] || return 1
}

for attempt in 1 2 3; do
  rm -rf "$QM_WORK/user" && mkdir -p "$QM_WORK/user"
  qm_game_start
  qm_window_geometry
  splash_walk && break
  # A loaded machine (or a sanitized program) can starve the captures for
  # longer than a picture shows. After three such starts the walk gives way
  # to a plain skip, as long as the log shows the splash reached its second
  # picture, so a splash that never shows still fails.
  if [ "$attempt" -ge 3 ]; then
    qm_log_has 'Image loaded "images/splash/presents.png"' 1 ||
      qm_fail "three starts, and the splash never reached its second picture"
    echo "NOTE: three starts without seeing each splash picture in time; the menu is reached by skipping"
    qm_to_menu
    break
  fi
  echo "a picture went by before it was seen; starting again"
  qm_game_stop
done
cp "$QM_SHOT" "$QM_WORK/menu.png"
# The key cut the second picture short: the splash ended within a second
# or two of it, not at the end of that picture's 4 s.
secs() { grep "$1" "$QM_LOG" | tail -n 1 | sed -E 's/^[^ ]+ \/ ([0-9]+):([0-9]+):([0-9]+).*/\1 \2 \3/' | awk '{print $1 * 3600 + $2 * 60 + $3}'; }
if qm_log_has "SplashScreen - key up" 1; then
  after=$(($(secs "CS_STATE_SPLASHDONE") - $(secs "SplashScreen - key up")))
  [ "$after" -le 2 ] || qm_fail "the splash ended $after s after the key"
  echo "a key skipped the second picture: the splash ended $after s after it"
else
  # Only after three slow starts: the splash ran out before a key reached it.
  echo "NOTE: the splash ended before a key reached it; its skip is not timed"
fi
greeting "$QM_WORK/greeting_none.png"
[ -z "$(user_file profiles.xml)" ] || ! grep -q '<profile ' "$(user_file profiles.xml)" ||
  qm_fail "a fresh user folder has a profile"

# The menu's buttons on its scroll, and the welcome line under it.
play="400 270"
options="400 402"
quit="400 468"
welcome="400 574"

# Play without a player: the new-profile dialog; OK on an empty name.
qm_click $play
qm_wait_pixels 30 "${menu_dark[@]}"
sleep 2
qm_capture
[ "$(red_pixels 230 298 340 24)" = 0 ] || qm_fail "the error line shows before OK"
qm_click 300 362
sleep 1.5
qm_capture
cp "$QM_SHOT" "$QM_WORK/empty_name.png"
[ "$(red_pixels 230 298 340 24)" -gt 20 ] || qm_fail "OK on an empty name shows no error line"
echo "OK on an empty name: the error line"
type_name Fox
qm_key Return
# The new player is asked about easy mode before the first game.
qm_wait_until 20 grep -q 'Fox' "$(user_file profiles.xml)" || qm_fail "Fox was not made"
sleep 2
qm_capture
cp "$QM_SHOT" "$QM_WORK/easy_mode.png"
qm_wait_pixels 30 "${menu_dark[@]}"
[ "$(qm_log_count "CS_STATE_MENU_SHOWMAP")" = 0 ] || qm_fail "Play went on without asking about easy mode"
qm_click 300 372
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_MENU_SHOWMAP" 1
profiles=$(user_file profiles.xml)
game=$(user_file game.xml)
grep -q 'Fox' "$game" || qm_fail "game.xml does not name Fox"
echo "Fox made, Easy chosen: the menu fades towards the map"
qm_game_stop
grep -q 'easyMode="true"' "$profiles" || qm_fail "profiles.xml does not hold easyMode=\"true\""
echo "closed: profiles.xml holds easyMode=\"true\""

# Started again, Play asks nothing.
qm_game_start
qm_to_menu
greeting "$QM_WORK/greeting_fox.png"
greetings_differ "$QM_WORK/greeting_none.png" "$QM_WORK/greeting_fox.png" ||
  qm_fail "the greeting did not change once Fox was made"
echo "the menu greets Fox"
qm_click $play
qm_wait_log 30 "TheZentaScript::DoState() - CS_STATE_MENU_SHOWMAP" 1
[ "$(qm_log_count "ZentaMainMenu::DoState() - ZENTAMM_STATE_MENUTOMAP")" = 1 ] || qm_fail "Play did not fade to the map"
echo "next start: Play goes straight towards the map"
qm_game_stop

# The players' dialog: Create "Owl", then delete Fox (the first row).
qm_game_start
qm_to_menu
qm_click $welcome
qm_wait_pixels 30 "${menu_dark[@]}"
sleep 2
qm_capture
cp "$QM_SHOT" "$QM_WORK/profiles.png"
qm_click 300 418
sleep 2
type_name Owl
qm_key Return
qm_wait_until 20 grep -q 'Owl' "$profiles" || qm_fail "Owl was not made"
echo "Owl made"
sleep 1
qm_click 300 161
sleep 0.5
qm_click 520 418
sleep 2
qm_capture
cp "$QM_SHOT" "$QM_WORK/confirm.png"
grep -q 'Fox' "$profiles" || qm_fail "Fox went before the confirmation"
qm_click 310 348
qm_wait_until 20 bash -c "! grep -q Fox '$profiles'" || qm_fail "Fox was not deleted"
grep -q 'Owl' "$profiles" || qm_fail "Owl went with Fox"
echo "Fox deleted after the confirmation"
qm_click 410 470
sleep 1

# Options: music to 0, the custom cursor off.
qm_click $options
qm_wait_pixels 30 "${menu_dark[@]}"
sleep 2
qm_drag 581 182 300 182
sleep 0.5
qm_click 212 377
sleep 0.5
qm_capture
cp "$QM_SHOT" "$QM_WORK/options.png"
qm_click 410 448
sleep 1
# Quit: the screen fades to black over a second, then the program ends.
qm_click $quit
qm_wait_log 10 "ZentaMainMenu::DoState() - MM_STATE_QUITING" 1
qm_game_wait_exit 60
echo "Quit: status 0"
order=$(grep -oE "(TheZentaScript|ZentaMainMenu)::DoState\(\) - [A-Z_]+" "$QM_LOG" | tr '\n' ' ')
want="TheZentaScript::DoState() - CS_STATE_SPLASHSHOW TheZentaScript::DoState() - CS_STATE_SPLASHDONE ZentaMainMenu::DoState() - MM_STATE_INIT ZentaMainMenu::DoState() - MM_STATE_MENU ZentaMainMenu::DoState() - MM_STATE_QUITING TheZentaScript::DoState() - CS_STATE_QUITGAME "
[ "$order" = "$want" ] || qm_fail "the DoState lines are, in order: $order"
secs() { grep "$1" "$QM_LOG" | tail -n 1 | sed -E 's/^[^ ]+ \/ ([0-9]+):([0-9]+):([0-9]+).*/\1 \2 \3/' | awk '{print $1 * 3600 + $2 * 60 + $3}'; }
fade=$(($(secs "CS_STATE_QUITGAME") - $(secs "MM_STATE_QUITING")))
[ "$fade" -ge 0 ] && [ "$fade" -le 3 ] || qm_fail "the quit fade took $fade s"
echo "the log holds the script's and the menu's states in order; the quit fade took about $fade s"
game=$(user_file game.xml)
grep -E '<music[^>]*volume="0(\.0+)?"' "$game" >/dev/null || qm_fail "game.xml does not hold the music at 0: $(grep music "$game")"
grep -q 'useCustom="false"' "$game" || qm_fail "game.xml still has the custom cursor on"
echo "game.xml: music 0, custom cursor off"

qm_game_start
qm_to_menu
# The mouse over the plain lower background: the game draws no cursor
# picture there (the server's own pointer is not in a capture).
qm_move 700 560
sleep 1
plain=()
for d in 5,12 3,8; do
  x=$((700 + ${d%,*})) y=$((560 + ${d#*,}))
  plain+=("$x $y $(qm_pixel "$images/mainmenu/bg_bottom.png" "$x" "$((y - 88))") 12")
done
[ "$(qm_alpha "$images/cursor.png" 5 12)" = 255 ] || qm_fail "the cursor picture is not opaque at (5,12)"
qm_wait_pixels 20 "${plain[@]}"
cp "$QM_SHOT" "$QM_WORK/second_start.png"
echo "next start: no cursor picture under the mouse"
qm_game_stop
