#!/usr/bin/env bash
# The debug console and the editor, under a virtual X server with xdotool,
# keys typed as a developer types them:
#   - with enableConsole="true" in the user's game.xml, the key left of 1
#     (grave) shows the console over the top half (the console's grey there,
#     the menu below); "help" lists the six Color variables, the commands
#     (with the game's winlevel) and the alias "quit exit"; Tab completes
#     "dumpt" to the command dumptree; Up and Down browse the history;
#   - "editor open" hides the game and shows the editor's eight buttons;
#     "exit" then ends the program by itself, status 0, the log without an
#     error line and closed in order;
#   - with enableConsole="True", or without the attribute, the key shows
#     nothing.
# Captures are kept in the work folder with QM_E2E_KEEP=1.
# Usage: ConsoleUnderXvfb.sh PROGRAM. Exit 77 (skipped) only without Xvfb or
# xdotool.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
qm_e2e_init "${1:?usage: ConsoleUnderXvfb.sh PROGRAM}"
images="$QM_DATA/images"

shot() { # name: the last capture kept under that name
  cp "$QM_SHOT" "$QM_WORK/$1.png"
}
type_text() { # text: each character as a key, a space as "space"
  local i c
  for ((i = 0; i < ${#1}; i++)); do
    c=${1:i:1}
    [ "$c" = " " ] && c=space
    qm_key "$c"
  done
}
command_line() { # text: typed, then Enter
  type_text "$1"
  qm_key Return
}
# A fresh user folder whose game.xml is the template with the game
# element's opening tag replaced.
user_config() { # attribute text ("" for none)
  rm -rf "$QM_WORK/user" && mkdir -p "$QM_USER"
  sed "s/<game >/<game $1>/" "$QM_DATA/scripts/game.xml" >"$QM_USER/game.xml"
  grep -q "<game $1>" "$QM_USER/game.xml" || qm_fail "the template game.xml has no element <game >"
}
# Log lines whose text (after the time) is exactly the argument.
log_lines_equal() { # text
  sed -E 's/^[^ ]+ \/ [0-9:]+ //' "$QM_LOG" | tr -d '\r' | grep -cxF -- "$1"
}
# How many pixels of a game rectangle of the last capture are near white.
white_pixels() { # x y w h
  local x y
  read -r x y <<<"$(qm_to_screen "$1" "$2")"
  convert "$QM_SHOT" -crop "$3x$4+$x+$y" +repage -fx '(r>0.85&&g>0.85&&b>0.85)?1:0' \
    -format '%[fx:round(mean*w*h)]' info:
}

# The console's background (grey, nearly opaque) over the top half, beside
# where its lines run, and its dark input line at its foot; the menu's
# columns and lower background below it.
grey="96 96 96"
console_top=("790 20 $grey 14" "790 150 $grey 14" "790 230 $grey 14" "790 285 32 32 32 14")
menu_top=("790 150 $(qm_pixel "$images/mainmenu/column_right.png" 54 150) 12"
  "10 150 $(qm_pixel "$images/mainmenu/column_left.png" 10 150) 12")
menu_bottom=("20 450 $(qm_pixel "$images/mainmenu/column_left.png" 20 450) 12"
  "780 450 $(qm_pixel "$images/mainmenu/column_right.png" 44 450) 12"
  "100 488 $(qm_pixel "$images/mainmenu/bg_bottom.png" 100 400) 12")

# The console on.
user_config 'enableConsole="true" '
qm_game_start
qm_window_geometry
qm_to_menu
qm_move 400 560
qm_wait_pixels 10 "${menu_top[@]}" "${menu_bottom[@]}"
qm_key grave
qm_wait_pixels 10 "${console_top[@]}" "${menu_bottom[@]}"
shot console
echo "grave: the console over the top half, the menu below"

command_line help
qm_wait_log 10 "Aliases list:"
sleep 0.5
for variable in Background PrintLine HistoryText ErrorText WarningText CurrentCommand; do
  [ "$(log_lines_equal "Color con_Color$variable")" = 1 ] || qm_fail "help does not list con_Color$variable"
done
[ "$(grep -c "Color con_" "$QM_LOG")" = 6 ] || qm_fail "help lists $(grep -c "Color con_" "$QM_LOG") Color variables"
for name in alias create dumptree editor enableinputlogging exit getuniquesymbols help imgutil load openurl \
  videomode winlevel; do
  [ "$(log_lines_equal "$name")" -ge 1 ] || qm_fail "help does not list the command $name"
done
[ "$(log_lines_equal "quit exit")" = 1 ] || qm_fail "help does not list the alias \"quit exit\""
# The console's lines moved on to help's list.
sleep 0.5
qm_capture
shot help
read -r cx cy <<<"$(qm_to_screen 0 0)"
read -r cx2 cy2 <<<"$(qm_to_screen 700 270)"
crop="$((cx2 - cx))x$((cy2 - cy))+$cx+$cy"
convert "$QM_WORK/console.png" -crop "$crop" +repage "$QM_WORK/lines_before.png"
convert "$QM_SHOT" -crop "$crop" +repage "$QM_WORK/lines_help.png"
changed=$(compare -metric AE -fuzz 10% "$QM_WORK/lines_before.png" "$QM_WORK/lines_help.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed%.*}" -gt 2000 ] || qm_fail "the console's lines did not change with help ($changed pixels)"
echo "the console's lines moved on ($changed pixels changed)"
echo "help: the six Color variables, the commands with winlevel, the alias quit exit"

# Tab completes the name (with a space after it); Enter runs it.
type_text dumpt
qm_key Tab
qm_key Return
qm_wait_log 10 "Game controls tree dump:"
[ "$(log_lines_equal "dumptree ")" = 1 ] || qm_fail "Tab did not complete dumpt to \"dumptree \""
[ "$(qm_log_count "Unknown command")" = 0 ] || qm_fail "an incomplete name was run: $(grep -a "Unknown command" "$QM_LOG")"
echo "Tab: dumpt completed to dumptree, which ran"

# The history holds help, dumptree: Up twice is help; then, with help run
# again, Up three times and Down once is dumptree.
qm_key Up
qm_key Up
qm_key Return
qm_wait_log 10 "Console help. Variables list:" 2
qm_key Up
qm_key Up
qm_key Up
qm_key Down
qm_key Return
qm_wait_log 10 "Game controls tree dump:" 2
[ "$(log_lines_equal "dumptree ")" = 2 ] && [ "$(qm_log_count "Console help. Variables list:")" = 2 ] &&
  [ "$(qm_log_count "Game controls tree dump:")" = 2 ] ||
  qm_fail "the history ran other lines than help and dumptree"
echo "Up and Down browse the history"

# The editor over the game; the console hidden to see it.
command_line "editor open"
qm_wait_log 10 "Opening editor..."
qm_key grave
# The game hidden (black where the menu was), the editor's dialog grey at
# the top left with its eight buttons, each holding its white frame and
# its name.
qm_wait_pixels 10 "5 5 164 164 164 16" "400 300 0 0 0 8" "700 500 0 0 0 8"
shot editor
for y in 10 50 90 130 170 220 260 300; do
  letters=$(white_pixels 14 $((y + 4)) 92 22)
  frame=$(white_pixels 10 "$y" 100 30)
  [ "$letters" -gt 25 ] && [ "$frame" -gt $((letters + 150)) ] ||
    qm_fail "no button at 10,$y of the editor ($letters letter, $frame white pixels)"
done
echo "editor open: the game hidden, the eight buttons"

# exit, typed into the console: the program ends by itself.
qm_key grave
command_line exit
qm_game_wait_exit 60
! grep -aE "(Error|ERROR)[: ]" "$QM_LOG" || qm_fail "the log holds the error lines above"
tail -n 1 "$QM_LOG" | grep -q "Window destroyed successfully." || qm_fail "the log does not end with the window's end"
! grep -qE "ERROR|runtime error|Segmentation" "$QM_WORK/program.out" ||
  qm_fail "the program reported: $(head -n 20 "$QM_WORK/program.out")"
echo "exit with the editor open: status 0, no error line"

# The console off: "True" is not "true", and no attribute is off.
for attribute in 'enableConsole="True" ' ''; do
  user_config "$attribute"
  qm_game_start
  qm_window_geometry
  qm_to_menu
  qm_move 400 560
  qm_wait_pixels 10 "${menu_top[@]}" "${menu_bottom[@]}"
  qm_key grave
  sleep 1
  qm_capture
  qm_screen_matches "${menu_top[@]}" "${menu_bottom[@]}" ||
    qm_fail "with ${attribute:-no attribute} the key changed the screen:$QM_MISMATCH"
  ! qm_screen_matches "${console_top[0]}" || qm_fail "with ${attribute:-no attribute} the console shows"
  shot "off_${attribute:+True}"
  echo "with ${attribute:-no attribute}: the key shows nothing"
  qm_game_stop
done
