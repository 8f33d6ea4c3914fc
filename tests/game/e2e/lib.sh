# Shared helpers for the scripts that drive the game program under a virtual
# X server, as a player would: start it, find its window, read the screen
# back, move and click the mouse and press keys with xdotool, watch its log,
# stop it. Source this file from a bash script, then:
#
#   qm_e2e_init PROGRAM [NAME] # checks the tools (exit 77 when X is missing),
#                              # makes the private folders, starts Xvfb;
#                              # NAME: the program's name, which names its
#                              # user folder (the game's by default)
#   qm_wm_start                # a window manager, where full screen is
#                              # switched
#   qm_game_start              # starts the program from another folder and
#                              # waits for its window
#   qm_wait_pixels 20 "x y r g b" ...   # until the screen shows these
#   qm_click 280 502           # at a point of the game's 800 x 600 picture
#   qm_key Return
#   qm_wait_log 10 'some line' 1
#   qm_game_stop               # SIGTERM, status 0 expected
#
# Every wait polls until a deadline in seconds, so a loaded machine only
# makes a check slower. Points are given in the game's own 800 x 600
# picture and mapped onto the screen through the window's present size, so
# the same points hold in a window and in full screen (where the picture is
# scaled and letterboxed). A failure prints its reason (and where the last
# capture and the log lie when QM_E2E_KEEP=1), stops the program and exits 1.
#
# Set by qm_e2e_init: QM_PROGRAM, QM_DATA (the program's folder, where its
# data lies), QM_WORK (private folders: user, tmp, run, elsewhere), QM_USER
# (the game's user folder), QM_LOG (its log.txt), QM_SHOT (the last capture).
# Set by qm_game_start: QM_PID, QM_WINDOW.
# shellcheck shell=bash

QM_GAME_WIDTH=800
QM_GAME_HEIGHT=600
QM_SCREEN=${QM_SCREEN:-1024x768x24}
QM_PID=""
QM_XVFB_PID=""
QM_WM_PID=""
QM_WINDOW=""

qm_fail() {
  echo "FAIL: $*" >&2
  if [ -n "$QM_PID" ] && kill -0 "$QM_PID" 2>/dev/null; then
    kill -KILL "$QM_PID" 2>/dev/null
  fi
  if [ -n "${QM_LOG:-}" ] && [ -f "$QM_LOG" ]; then
    echo "--- last lines of log.txt" >&2
    tail -n 30 "$QM_LOG" >&2
  fi
  if [ "${QM_E2E_KEEP:-0}" = 1 ]; then
    echo "captures and folders kept in $QM_WORK" >&2
  fi
  exit 1
}

qm_cleanup() {
  if [ -n "$QM_PID" ] && kill -0 "$QM_PID" 2>/dev/null; then
    kill -KILL "$QM_PID" 2>/dev/null
  fi
  if [ -n "$QM_WM_PID" ]; then
    kill -TERM "$QM_WM_PID" 2>/dev/null
    wait "$QM_WM_PID" 2>/dev/null
  fi
  if [ -n "$QM_XVFB_PID" ]; then
    kill -TERM "$QM_XVFB_PID" 2>/dev/null
    wait "$QM_XVFB_PID" 2>/dev/null
  fi
  if [ "${QM_E2E_KEEP:-0}" != 1 ] && [ -n "${QM_WORK:-}" ]; then
    rm -rf "$QM_WORK"
  fi
}

# qm_e2e_init PROGRAM [NAME]: skips the script (exit 77) when Xvfb or
# xdotool is missing, fails when ImageMagick is; makes the private folders
# and starts an X server of its own (QM_SCREEN, 1024x768x24 by default).
# NAME is the program's name ("The Quillmarsh - Zenta" by default), the
# last part of its user folder.
qm_e2e_init() {
  local program=${1:?qm_e2e_init PROGRAM [NAME]} name=${2:-The Quillmarsh - Zenta}
  local tool
  for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)."
      exit 77
    fi
  done
  for tool in import convert; do
    command -v "$tool" >/dev/null || qm_fail "$tool is not installed (scripts/setup.sh installs imagemagick)"
  done
  [ -x "$program" ] || qm_fail "no program at $program"
  QM_DATA=$(cd "$(dirname "$program")" && pwd)
  QM_PROGRAM="$QM_DATA/$(basename "$program")"
  QM_WORK=$(mktemp -d "${TMPDIR:-/tmp}/qm-e2e-XXXXXX")
  mkdir -p "$QM_WORK"/{user,tmp,run,elsewhere}
  chmod 700 "$QM_WORK/run"
  QM_USER="$QM_WORK/user/Brenvik/$name"
  QM_LOG="$QM_USER/log.txt"
  QM_SHOT="$QM_WORK/screen.png"
  trap qm_cleanup EXIT
  qm_xvfb_start
}

# Starts Xvfb on the first free display it finds and points DISPLAY at it.
qm_xvfb_start() {
  local fifo="$QM_WORK/displayfd" display=""
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$QM_SCREEN" -nolisten tcp -noreset 3>"$fifo" 2>"$QM_WORK/xvfb.log" &
  QM_XVFB_PID=$!
  # The server writes its display number once it accepts clients.
  read -r -t 30 display <"$fifo"
  rm -f "$fifo"
  [ -n "$display" ] || { cat "$QM_WORK/xvfb.log" >&2; qm_fail "Xvfb did not start within 30 s"; }
  export DISPLAY=":$display"
  unset XAUTHORITY
}

# qm_wait_until SECONDS COMMAND...: runs COMMAND every 0.2 s until it
# succeeds (0) or the time is up (1).
qm_wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  while :; do
    "$@" && return 0
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

qm_running() {
  [ -n "$QM_PID" ] && kill -0 "$QM_PID" 2>/dev/null
}

# Starts the program from a folder of its own, with the private user and
# temporary folders and a silent sound device, and waits for its window.
qm_game_start() {
  # In a sanitizer build the leak check stays off for the program: SDL's
  # X11 driver opens D-Bus, whose library keeps its state to the end and is
  # partly unloaded by then, so its blocks can't even be told apart.
  (cd "$QM_WORK/elsewhere" &&
    exec env -u SDL_VIDEODRIVER XDG_DATA_HOME="$QM_WORK/user" TMPDIR="$QM_WORK/tmp" \
      XDG_RUNTIME_DIR="$QM_WORK/run" SDL_AUDIODRIVER=dummy \
      ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$QM_PROGRAM") \
    >"$QM_WORK/program.out" 2>&1 &
  QM_PID=$!
  local deadline=$((SECONDS + 60))
  QM_WINDOW=""
  while [ -z "$QM_WINDOW" ]; do
    qm_running || qm_fail "the program ended before showing a window"
    QM_WINDOW=$(xdotool search --onlyvisible --pid "$QM_PID" 2>/dev/null | head -n 1)
    [ -n "$QM_WINDOW" ] && break
    if [ "$SECONDS" -ge "$deadline" ]; then
      xwininfo -root -tree >&2
      qm_fail "no window within 60 s"
    fi
    sleep 0.2
  done
}

# Starts a window manager on the server (openbox): full screen is something
# the window manager grants, so a script that switches the video mode needs
# one. It runs without key or mouse bindings, so every key reaches the game
# (the stock ones take Print Screen). Its windows get a title bar; every
# point here is taken from the client area, so nothing else changes.
qm_wm_start() {
  command -v openbox >/dev/null || qm_fail "openbox is not installed (scripts/setup.sh installs it)"
  cat >"$QM_WORK/openbox.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <keyboard></keyboard>
  <mouse></mouse>
</openbox_config>
XML
  HOME="$QM_WORK/tmp" XDG_CONFIG_HOME="$QM_WORK/tmp" \
    openbox --sm-disable --config-file "$QM_WORK/openbox.xml" >"$QM_WORK/wm.log" 2>&1 &
  QM_WM_PID=$!
  # Running once it owns the screen's selection.
  qm_wait_until 20 qm_wm_running || qm_fail "openbox did not start within 20 s"
}

qm_wm_running() {
  kill -0 "$QM_WM_PID" 2>/dev/null && xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

# Sets QM_WX, QM_WY, QM_WW, QM_WH: the window's client area on the screen
# (xwininfo's absolute corner holds under a window manager's frame too).
qm_window_geometry() {
  local info
  info=$(xwininfo -id "$QM_WINDOW" 2>/dev/null)
  QM_WX=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  QM_WY=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  QM_WW=$(sed -n 's/^ *Width: *//p' <<<"$info")
  QM_WH=$(sed -n 's/^ *Height: *//p' <<<"$info")
  [ -n "$QM_WW" ] || qm_fail "the window $QM_WINDOW is gone"
}

# qm_to_screen X Y: the screen point that shows the game's point (X, Y),
# through the window's present size (the picture keeps its aspect and is
# centred).
qm_to_screen() {
  qm_window_geometry
  echo "$1 $2" | qm_map_points
}

# qm_map_points: game points "X Y", one a line on stdin, as screen points
# through the window's size last read (QM_WX, QM_WY, QM_WW, QM_WH).
qm_map_points() {
  awk -v wx="$QM_WX" -v wy="$QM_WY" -v ww="$QM_WW" -v wh="$QM_WH" \
    -v gw="$QM_GAME_WIDTH" -v gh="$QM_GAME_HEIGHT" '{
      s = ww / gw; if (wh / gh < s) s = wh / gh;
      ox = (ww - gw * s) / 2; oy = (wh - gh * s) / 2;
      printf "%d %d\n", wx + ox + ($1 + 0.5) * s, wy + oy + ($2 + 0.5) * s }'
}

# qm_capture [FILE]: the whole screen into FILE (QM_SHOT by default).
qm_capture() {
  import -window root "${1:-$QM_SHOT}" 2>/dev/null
}

# qm_pixel FILE X Y: "r g b" of a screen pixel of a capture or a picture.
qm_pixel() {
  convert "$1" -format "%[fx:round(255*p{$2,$3}.r)] %[fx:round(255*p{$2,$3}.g)] %[fx:round(255*p{$2,$3}.b)]" info:
}

# qm_alpha FILE X Y: the alpha (0-255) of a picture's pixel.
qm_alpha() {
  convert "$1" -format "%[fx:round(255*p{$2,$3}.a)]" info:
}

# qm_near "r g b" "r g b" [TOLERANCE]: every channel within TOLERANCE (24).
qm_near() {
  local a=($1) b=($2) tolerance=${3:-24} c d
  for c in 0 1 2; do
    d=$((a[c] - b[c]))
    [ "${d#-}" -le "$tolerance" ] || return 1
  done
}

# qm_brightness "r g b": the sum of the channels.
qm_brightness() {
  local a=($1)
  echo $((a[0] + a[1] + a[2]))
}

# qm_screen_matches "gx gy r g b [tol]"...: whether the last capture shows
# each colour at each game point; the misses go to QM_MISMATCH. All points
# are read by one convert: a process per point made one look take longer
# than a wait's deadline on a busy machine.
qm_screen_matches() {
  local want gx gy r g b tolerance i sx sy format="" games=() wants=() tolerances=() screen=() got=()
  QM_MISMATCH=""
  qm_window_geometry
  for want in "$@"; do
    read -r gx gy r g b tolerance <<<"$want"
    games+=("$gx $gy")
    wants+=("$r $g $b")
    tolerances+=("${tolerance:-24}")
  done
  mapfile -t screen < <(printf '%s\n' "${games[@]}" | qm_map_points)
  for i in "${!screen[@]}"; do
    read -r sx sy <<<"${screen[i]}"
    format+="%[fx:round(255*p{$sx,$sy}.r)] %[fx:round(255*p{$sx,$sy}.g)] %[fx:round(255*p{$sx,$sy}.b)]\n"
  done
  mapfile -t got < <(convert "$QM_SHOT" -format "$format" info: 2>/dev/null)
  for i in "${!games[@]}"; do
    [ -n "${got[i]:-}" ] && qm_near "${got[i]}" "${wants[i]}" "${tolerances[i]}" ||
      QM_MISMATCH="$QM_MISMATCH (${games[i]/ /,}): got (${got[i]:-nothing}), want (${wants[i]});"
  done
  [ -z "$QM_MISMATCH" ]
}

qm_capture_matches() {
  qm_running || qm_fail "the program ended"
  qm_capture && qm_screen_matches "$@"
}

# qm_wait_pixels SECONDS "gx gy r g b [tol]"...: captures until the screen
# shows every colour; fails with the misses of the last capture.
qm_wait_pixels() {
  local seconds=$1
  shift
  qm_wait_until "$seconds" qm_capture_matches "$@" ||
    qm_fail "the screen does not show what it should within $seconds s:$QM_MISMATCH"
}

# qm_move GX GY: the mouse onto a game point.
qm_move() {
  local sx sy
  read -r sx sy <<<"$(qm_to_screen "$1" "$2")"
  xdotool mousemove "$sx" "$sy"
}

# qm_press / qm_release: the left button down or up where the mouse is.
qm_press() {
  xdotool mousedown 1
}

qm_release() {
  xdotool mouseup 1
}

# qm_click GX GY: a left click at a game point, the press and the release a
# little apart as a hand makes them.
qm_click() {
  qm_move "$1" "$2"
  sleep 0.1
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
}

# qm_drag GX GY GX2 GY2: presses at the first point, moves one pixel right
# and down, then in steps to the second point and releases there. The
# game starts a drag on the first move after the press and moves the
# dragged control from the next one on, so the control moves by the
# distance less that first pixel.
qm_drag() {
  local steps=5 i x y
  qm_move "$1" "$2"
  sleep 0.1
  xdotool mousedown 1
  sleep 0.05
  qm_move $(($1 + 1)) $(($2 + 1))
  for i in $(seq 1 "$steps"); do
    x=$(($1 + 1 + ($3 - $1 - 1) * i / steps))
    y=$(($2 + 1 + ($4 - $2 - 1) * i / steps))
    sleep 0.05
    qm_move "$x" "$y"
  done
  sleep 0.1
  xdotool mouseup 1
}

# qm_key KEY: presses and releases a key (an X keysym name: Return,
# Escape, Print, F8) in the game's window.
qm_key() {
  xdotool windowfocus --sync "$QM_WINDOW" 2>/dev/null
  xdotool key --delay 60 "$1"
}

# qm_log_count TEXT: how many lines of log.txt hold TEXT.
qm_log_count() {
  [ -f "$QM_LOG" ] || { echo 0; return; }
  grep -cF -- "$1" "$QM_LOG"
}

qm_log_has() {
  [ "$(qm_log_count "$1")" -ge "$2" ]
}

# qm_wait_log SECONDS TEXT [COUNT]: until log.txt holds TEXT on COUNT (1)
# lines at least.
qm_wait_log() {
  qm_wait_until "$1" qm_log_has "$2" "${3:-1}" ||
    qm_fail "log.txt does not hold \"$2\" ${3:-1} time(s) within $1 s (it has $(qm_log_count "$2"))"
}

# qm_wait_file SECONDS FILE: until FILE exists and is not empty.
qm_wait_file() {
  qm_wait_until "$1" test -s "$2" || qm_fail "no $2 within $1 s"
}

# qm_wait_window_size SECONDS WIDTH HEIGHT: until the window's client area
# has that size (after a switch of the video mode).
qm_window_is() {
  qm_window_geometry
  [ "$QM_WW" = "$1" ] && [ "$QM_WH" = "$2" ]
}

qm_wait_window_size() {
  qm_wait_until "$1" qm_window_is "$2" "$3" ||
    qm_fail "the window is ${QM_WW}x$QM_WH, not $2x$3, after $1 s"
}

# qm_game_wait_exit SECONDS: waits for the program to end by itself, with
# status 0.
qm_game_wait_exit() {
  qm_wait_until "$1" bash -c "! kill -0 $QM_PID 2>/dev/null" || qm_fail "the program did not end within $1 s"
  local status=0
  wait "$QM_PID" || status=$?
  QM_PID=""
  [ "$status" = 0 ] || qm_fail "the program ended with status $status"
}

# qm_game_stop: SIGTERM, then the program must end within 60 s with status 0.
qm_game_stop() {
  qm_running || qm_fail "the program ended before it was stopped"
  kill -TERM "$QM_PID"
  qm_game_wait_exit 60
}

# qm_menu_points: the points qm_to_menu checks once the menu is open: the
# stone columns (static, opaque, beside the scrolling band), read from their
# pictures.
qm_menu_points() {
  local images="$QM_DATA/images/mainmenu"
  echo "20 300 $(qm_pixel "$images/column_left.png" 20 300) 12"
  echo "780 300 $(qm_pixel "$images/column_right.png" 44 300) 12"
}

# qm_to_menu: presses Space until the splash is skipped, the menu says it
# works and its columns stand on the screen (the splash's dark frames alone
# could pass for them).
qm_to_menu() {
  local deadline=$((SECONDS + 60)) points
  mapfile -t points < <(qm_menu_points)
  while :; do
    qm_running || qm_fail "the program ended before the menu"
    if qm_log_has "ZentaMainMenu::DoState() - MM_STATE_MENU" 1; then
      qm_wait_pixels 30 "${points[@]}"
      return 0
    fi
    [ "$SECONDS" -lt "$deadline" ] || qm_fail "no menu within 60 s"
    qm_key space
    sleep 0.5
  done
}

# qm_showcase_shown: the showcase program opens on the showcase: until its
# script has made it (what the screen shows is the caller's to wait for).
qm_showcase_shown() {
  qm_wait_log 60 "ShowcaseScript::DoState() - SC_STATE_SHOW"
}

# qm_copy_program: the program and its data copied into the work folder,
# QM_PROGRAM and QM_DATA pointing there, so what a script makes the game
# write lands in the copy and never in the build's data folder. The test
# programs and what they write beside themselves (frames, pictures) stay
# behind.
qm_copy_program() {
  local copy="$QM_WORK/game" item
  mkdir -p "$copy"
  for item in "$QM_DATA"/*; do
    case "$(basename "$item")" in
      *_tests | *_bench | *Bench | fakes | datagen* | showcase_demo | llf_test_app | playthrough_frames | *.png) ;;
      *) cp -R "$item" "$copy/" ;;
    esac
  done
  QM_DATA="$copy"
  QM_PROGRAM="$copy/$(basename "$QM_PROGRAM")"
  [ -x "$QM_PROGRAM" ] || qm_fail "the program was not copied to $copy"
}

# qm_right_click GX GY: a right click at a game point.
qm_right_click() {
  qm_move "$1" "$2"
  sleep 0.1
  xdotool mousedown 3
  sleep 0.1
  xdotool mouseup 3
}

# qm_double_click GX GY: two left clicks at a game point, as one double
# click.
qm_double_click() {
  qm_move "$1" "$2"
  sleep 0.1
  xdotool click --repeat 2 --delay 80 1
}

# qm_type TEXT: the text typed key by key into the game's window (letters,
# digits, '_', '/', '.', '-' and blanks).
qm_type() {
  local i c
  for ((i = 0; i < ${#1}; i++)); do
    c=${1:i:1}
    case "$c" in
      _) qm_key underscore ;;
      /) qm_key slash ;;
      .) qm_key period ;;
      -) qm_key minus ;;
      ' ') qm_key space ;;
      *) qm_key "$c" ;;
    esac
  done
}
