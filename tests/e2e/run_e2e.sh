#!/usr/bin/env bash
# Drives the real program under Xvfb as an operator would: answers the start-up question, types
# contacts into the entry line and checks what lands in log.txt; then restarts and reloads it.
set -euo pipefail
bin=$(readlink -f "$1")
src=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d)
xvfb_pid=""; wm_pid=""; app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "E2E FAIL: $*" >&2; cat "$work/app.out" >&2 2>/dev/null; [ -f "$work/log.txt" ] && cat -A "$work/log.txt" >&2; exit 1; }

cp "$src"/data/* "$work/"
export HOME="$work/home"
mkdir -p "$HOME"
unset USERPROFILE APPDATA QT_QPA_PLATFORM

# Let Xvfb choose a free display.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null)
read -r -t 20 display <&3 || fail "Xvfb did not start"
xvfb_pid=$(pgrep -n -f "Xvfb -displayfd") || true
export DISPLAY=":$display"
matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
wm_pid=$!

start_app() {
  (cd "$work" && exec "$bin") >"$work/app.out" 2>&1 &
  app_pid=$!
}
wait_window() {  # name, seconds
  for _ in $(seq 1 $(( $2 * 10 ))); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "program ended while waiting for '$1'"
    sleep 0.1
  done
  fail "no window '$1'"
}
log_lines() { local n; n=$(grep -c '' "$work/log.txt" 2>/dev/null || true); echo "${n:-0}"; }
wait_log_lines() {  # count
  for _ in $(seq 1 150); do
    [ "$(log_lines)" -ge "$1" ] && return 0
    sleep 0.1
  done
  fail "log.txt does not hold $1 lines"
}
# The window fills the 1280 x 800 screen: the call field sits at about (116, 188).
focus_call_field() { sleep 0.5; xdotool mousemove 116 188 click 1; sleep 0.2; }
type_line() { xdotool type --delay 40 "$1"; xdotool key Return; }

start_app
wait_window " Amateur Station I.D." 20
sleep 0.3
xdotool type --delay 40 "n0cub"                      # the own call, then Enter = Done
xdotool key Return
wait_window "Open existing log\\?" 20
xdotool key Return                                   # Yes: reload the shipped, empty log
wait_window "Cubwave Log" 10
focus_call_field
type_line "w1aw tom 12 ct blue"
wait_log_lines 1
utc_date=$(date -u +%Y/%m/%d)
line=$(sed -n 1p "$work/log.txt")
[[ "$line" =~ ^\"W1AW\",\"12\",\"Blue\",\"\",\"CT\",\"[0-9]{4}/[0-9]{2}/[0-9]{2}\",\"[0-9]{2}:[0-9]{2}:[0-9]{2}\",\"CW\",\"20\",\"TOM\",\"\"$'\r'$ ]] \
  || fail "first line is not the expected record"
# The date is today's UTC date, give or take a midnight passing during the test.
[[ "$line" == *"\"$utc_date\""* || "$line" == *"\"$(date -u -d '1 minute ago' +%Y/%m/%d)\""* ]] \
  || fail "date is not today's UTC date"

# A refused contact (too short a call) is not written.
type_line "w1 ann"
sleep 0.5
[ "$(log_lines)" -eq 1 ] || fail "a contact without a valid call was stored"
xdotool key Escape                                   # clears the entry line

# Quit with File > Exit, start again and answer Yes: the log is reloaded, not erased.
xdotool key alt+f; sleep 0.3; xdotool key e
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "File > Exit did not end the program"
start_app
wait_window " Amateur Station I.D." 20
sleep 0.3
xdotool key Return
wait_window "Open existing log\\?" 20
xdotool key Return
wait_window "Cubwave Log" 10
focus_call_field
xdotool search --name "^File Error\$" >/dev/null 2>&1 && fail "reload reported a File Error"
type_line "k2abc ann 11 ny red"
wait_log_lines 2
sed -n 1p "$work/log.txt" | grep -q '^"W1AW"' || fail "the first contact did not survive the restart"
sed -n 2p "$work/log.txt" | grep -q '^"K2ABC","11","Red","","NY",' || fail "second contact not appended"
grep -q '^"N0CUB"' "$work/cubwavepref.txt" || fail "the own call from the station window was not saved"

# A duplicate on the same band and mode is reported but still stored; its empty fields come
# from the earlier contact.
type_line "w1aw"
wait_log_lines 3
sed -n 3p "$work/log.txt" | grep -q '^"W1AW","12","Blue","","CT",.*,"CW","20","TOM",""' \
  || fail "the duplicate was not stored with the earlier contact's exchange"

# Delete a listed contact: select the newest row, "Delete Contact", confirm. The window fills
# the 1280 x 800 screen, so the design positions scale by 2 across and about 1.6 down.
xdotool mousemove 100 336 click 1
sleep 0.3
xdotool mousemove 662 281 click 1
wait_window "Are you sure\\?" 10
xdotool key Return
for _ in $(seq 1 100); do [ "$(log_lines)" -eq 2 ] && break; sleep 0.1; done
[ "$(log_lines)" -eq 2 ] || fail "the contact was not deleted"
sed -n 2p "$work/log.txt" | grep -q '^"K2ABC"' || fail "the wrong contact was deleted"

# Closing the window (as a desktop logout does) backs the changed log up.
kill -TERM "$app_pid"
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
backup=$(ls "$HOME/Documents/Brantel Software/Cubwave/BACKUP/"*.log 2>/dev/null | head -1)
[ -n "$backup" ] || fail "no backup file after closing"
[[ "$(basename "$backup")" =~ ^[0-9]{12}\.log$ ]] || fail "backup name is not yyyymmddhhnn.log"
cmp -s "$backup" "$work/log.txt" || fail "the backup differs from the log"

echo "e2e: 5 passed, 0 failed"
