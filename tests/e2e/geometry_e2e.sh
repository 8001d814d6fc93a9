#!/usr/bin/env bash
# The windows' geometry as the program alone sets it: Xvfb without a window manager, a 1024x768
# screen whose work area leaves a 32-pixel panel at the bottom (_NET_WORKAREA on the root window,
# as a desktop's panel would set it). Checks the main window's rectangle with the taskbar option
# off, on and at 90 %, the "Form Size" answers, and that the dialogs open inside the screen.
# Then one start at 2048x1536 with QT_SCALE_FACTOR=2. Screenshots go to $E2E_SCREENS when set.
set -euo pipefail
bin=$(readlink -f "$1")
shooter=${2:+$(readlink -f "$2")}
src=$(cd "$(dirname "$0")/../.." && pwd)
export X_NO_WM=1 X_SCREEN_SIZE=${X_SCREEN_SIZE:-1024x768}

# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"

screen_w=${X_SCREEN_SIZE%x*}
screen_h=${X_SCREEN_SIZE#*x}
panel=32
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, $screen_w, $((screen_h - panel))"

# "x y w h" of the window with this title, from xwininfo: without a window manager the client
# window is the frame.
rect_of() {
  local wid info
  wid=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
  [ -n "$wid" ] || fail "no window '$1' to measure"
  info=$(xwininfo -id "$wid")
  printf '%s %s %s %s\n' \
    "$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")" "$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")" \
    "$(awk '/^ *Width:/ {print $NF}' <<<"$info")" "$(awk '/^ *Height:/ {print $NF}' <<<"$info")"
}
expect_rect() {  # title, expected "x y w h", what
  local got
  for _ in $(seq 1 30); do
    got=$(rect_of "$1")
    [ "$got" = "$2" ] && return 0
    sleep 0.1
  done
  fail "$3: '$1' is at '$got', expected '$2'"
}
inside_screen() {  # title, what
  local x y w h
  read -r x y w h <<<"$(rect_of "$1")"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$screen_w" ] && [ $((y + h)) -le $((screen_h - panel)) ] \
    || fail "$2: '$1' at $x $y ${w}x$h is not inside the work area"
}
screenshot() {  # file name without .png
  [ -n "${E2E_SCREENS:-}" ] && [ -x "$shooter" ] || return 0
  mkdir -p "$E2E_SCREENS"
  env -u QT_SCALE_FACTOR "$shooter" "$E2E_SCREENS/$1${QT_SCALE_FACTOR:+-scale$QT_SCALE_FACTOR}.png" >/dev/null 2>&1 || true
}
menu() {  # keys, after the focus is on the main window
  focus_main_window
  xdotool key --delay 150 "$@"
}
pref_line() { sed -n "${1}p" "$work/cubwavepref.txt" | tr -d '\r'; }
wait_pref() {  # line, value: true once cubwavepref.txt holds it
  for _ in $(seq 1 30); do
    [ "$(pref_line "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
wait_gone() {  # title regex, seconds
  for _ in $(seq 1 $(( $2 * 10 ))); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window '$1' did not close"
}
start_and_measure_station() {
  local t0
  t0=$(date +%s%N)
  start_app
  wait_window " Amateur Station I.D." 20
  echo "# the station window showed $(( ($(date +%s%N) - t0) / 1000000 )) ms after the start (0.1 s polls)"
  sleep 0.5
  inside_screen " Amateur Station I.D." "the station window"
  screenshot "station-${X_SCREEN_SIZE}"
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^ Amateur Station I.D.$' | head -n 1)"
  xdotool type --delay 40 n0cub
  xdotool key Return
  wait_window "Open existing log\\?" 20
  inside_screen "Open existing log\\?" "the start-up question"
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Open existing log\?$' | head -n 1)"
  xdotool key Return
  wait_window "$main_caption" 10
  sleep 0.5
}
quit() {
  menu alt+f e
  wait_end 5 || fail "File > Exit did not end the program"
  app_pid=""
}

start_and_measure_station
pass "the station window and the start-up question open inside the work area"
expect_rect "$main_caption" "0 0 $screen_w $screen_h" "taskbar off"
screenshot "main-${X_SCREEN_SIZE}"
pass "at 100 % without the taskbar option the main window covers the screen"

menu alt+o a t
expect_rect "$main_caption" "0 0 $screen_w $((screen_h - panel))" "taskbar on"
wait_pref 20 1 || fail "the taskbar option was not saved"
menu alt+o a t
expect_rect "$main_caption" "0 0 $screen_w $screen_h" "taskbar off again"
wait_pref 20 0 || fail "the taskbar option was not saved off"
pass "Taskbar fits the work area and back, and is saved"

menu alt+o a f
wait_window "Please enter screen percentage\\." 10
inside_screen "Please enter screen percentage\\." "the form size box"
xdotool type --delay 40 "abc"; xdotool key Return
wait_window "Numeric Values Required" 10
xdotool key Return
wait_gone "Numeric Values Required" 5
[ "$(pref_line 9)" = 100 ] || fail "a non-numeric answer changed the percentage"
menu alt+o a f
wait_window "Please enter screen percentage\\." 10
xdotool key ctrl+a; xdotool type --delay 40 "150"; xdotool key Return
wait_window "For this setting to take effect please restart this program\\." 10
xdotool key Return
wait_pref 9 100 || fail "150 was not stored as 100"
menu alt+o a f
wait_window "Please enter screen percentage\\." 10
xdotool key ctrl+a; xdotool type --delay 40 "90"; xdotool key Return
wait_window "For this setting to take effect please restart this program\\." 10
xdotool key Return
wait_pref 9 90 || fail "90 was not stored"
expect_rect "$main_caption" "0 0 $screen_w $screen_h" "form size before the restart"
pass "Form Size: abc refused, 150 stored as 100, 90 stored, nothing resized before the restart"

# The graph of an empty log is its message box, in the window's font, inside the work area.
menu alt+g
wait_window "Not Enough Contacts to Graph\\." 10
sleep 0.3
inside_screen "Not Enough Contacts to Graph\\." "the graph's message"
screenshot "graph-message-${X_SCREEN_SIZE}"
xdotool key Return
wait_gone "Not Enough Contacts to Graph\\." 5
graph_re=$(printf '%s' " Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)" | sed 's/[](){}.*+?|^$[]/\\&/g')
wait_window "$graph_re" 10
sleep 0.3
inside_screen "$graph_re" "the rate graph"
screenshot "graph-${X_SCREEN_SIZE}"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$graph_re\$" | head -n 1)"
xdotool key Escape
wait_gone "$graph_re" 5
menu alt+f w
wait_window "Summary Sheet Information" 10
sleep 0.3
inside_screen "Summary Sheet Information" "the summary window"
screenshot "summary-${X_SCREEN_SIZE}"
xdotool key Escape
wait_gone "Summary Sheet Information" 5 || true
pass "the summary window, the graph and its message open inside the work area"
quit

# At 90 % from the next start: that share of the screen, centred.
start_and_measure_station
# In logical pixels, then back to the device's with QT_SCALE_FACTOR.
scale=${QT_SCALE_FACTOR:-1}
lw=$((screen_w / scale)); lh=$((screen_h / scale))
w90=$(( (90 * lw + 50) / 100 )); h90=$(( (90 * lh + 50) / 100 ))
expect_rect "$main_caption" \
  "$(( (lw - w90) / 2 * scale )) $(( (lh - h90) / 2 * scale )) $((w90 * scale)) $((h90 * scale))" "90 %"
screenshot "main90-${X_SCREEN_SIZE}"
menu alt+o a t
wait_window "Please set your form size to 100% to use this option\\." 10
xdotool key Return
[ "$(pref_line 20)" = 0 ] || fail "the taskbar option changed at 90 %"
pass "at 90 % the window is that share of the screen, centred, and Taskbar is refused"
quit

echo "$(basename "$0"): $passed passed"
