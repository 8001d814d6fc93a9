#!/usr/bin/env bash
# The real program with the WinKey interface: a simulated keyer on a pseudo-terminal stands in
# for the keyer through "serialports.txt". F1 must open the keyer, send its settings and hand it
# the expanded message; Esc must clear it; closing the program must clear and close it.
# Usage: winkey_e2e.sh <cubwave binary> <winkey_simulator>
set -euo pipefail
bin=$(readlink -f "$1")
simulator=$(readlink -f "$2")
src=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"
extra_logs+=("$work/keyer.state")

# 150 ms a character: a message takes seconds, so Esc lands in the middle of it.
"$simulator" "$work/keyer.state" 150 >"$work/pty" 2>"$work/simulator.err" &
extra_pids+=($!)
for _ in $(seq 1 50); do grep -q '^/dev/' "$work/pty" 2>/dev/null && break; sleep 0.1; done
pty_path=$(head -n 1 "$work/pty")
[ -c "$pty_path" ] || fail "no pseudo-terminal for the keyer"
printf '# the keyer\n4=%s\n' "$pty_path" >"$work/serialports.txt"

# CW through the WinKey (interface 5) at 20 WPM; F1 uses the report macro.
message="CQ * TEST PARIS PARIS PARIS PARIS"
expanded="CQ 5NN TEST PARIS PARIS PARIS PARIS"
{
  printf '"%s"\r\n' "$message"
  for _ in 2 3 4 5 6 7 8 9; do printf '""\r\n'; done
  printf '"0"\r\n"20"\r\n""\r\n""\r\n"0"\r\n5\r\n"&H378"\r\n1\r\n"0"\r\n'
} >"$work/cw.txt"
data="$HOME/Documents/Brantel Software/Cubwave"
mkdir -p "$data"
printf '4\r\n"18"\r\n"45"\r\n"2"\r\n"3"\r\n"55"\r\n6\r\n16\r\n' >"$data/WK.txt"

state() { sed -n "s/^$1=//p" "$work/keyer.state"; }
wait_state() {  # description, seconds, condition (a shell expression)
  for _ in $(seq 1 $(( $2 * 10 ))); do
    eval "$3" && return 0
    sleep 0.1
  done
  fail "$1 (keyed '$(state keyed)', buffered '$(state buffered)', clears $(state clears))"
}

start_app
start_logging n0cub
focus_main_window

xdotool key F1
wait_state "the keyer was not opened" 10 '[ "$(state host_open)" = 1 ]'
wait_state "the keyer did not start sending the message" 10 '[[ "$(state keyed)" == "CQ 5NN"* ]]'
received=$(state received)
# Host open, then the settings in order: speed from the CW window (20), weight 45, lead-in and
# tail 2 and 3, ratio 55, pin 5 "Tone" (6), Iambic A (16) with echo-back (4).
for bytes in 0002 0214 032d 040203 1737 0906 0e14; do
  [[ "$received" == *"$bytes"* ]] || fail "the keyer never received $bytes (got $received)"
done
settings_at=$(( $(awk -v r="$received" 'BEGIN { print index(r, "0214") }') ))
text_at=$(( $(awk -v r="$received" 'BEGIN { print index(r, "43512035") }') ))  # "CQ 5"
[ "$settings_at" -gt 0 ] && [ "$text_at" -gt "$settings_at" ] || fail "the text went before the settings"
pass "F1 opens the keyer, sends its settings and hands it the expanded message"

xdotool key Escape
wait_state "Esc did not clear the keyer" 5 '[ "$(state clears)" -ge 1 ]'
sleep 1
keyed=$(state keyed)
sleep 1
[ "$(state keyed)" = "$keyed" ] || fail "the keyer went on sending after Esc ('$keyed' then '$(state keyed)')"
[ -z "$(state buffered)" ] || fail "the keyer still holds '$(state buffered)' after Esc"
[ ${#keyed} -lt ${#expanded} ] || fail "the whole message went out despite Esc"
[[ "$expanded" == "$keyed"* ]] || fail "the keyer sent '$keyed', not a start of '$expanded'"
pass "Esc clears the keyer in the middle of the message ('$keyed' sent)"

# Up in the main window raises the CW speed, and the keyer follows.
xdotool key Up
wait_state "Up did not reach the keyer's speed" 5 '[ "$(state wpm)" = 21 ]'
pass "Up raises the keyer's speed"

# A new message, and the program closed while the keyer sends it: the keyer is cleared and
# leaves host mode, and nothing more goes out.
clears=$(state clears)
xdotool key F1
wait_state "the second F1 sent nothing" 10 '[ ${#keyed} -lt $(( $(state keyed | wc -c) - 3 )) ]'
kill -TERM "$app_pid"
wait_end 10 || fail "SIGTERM did not end the program"
rc=0; wait "$app_pid" || rc=$?
app_pid=""
[ "$rc" -eq 0 ] || fail "the program ended with status $rc"
wait_state "closing the program did not close the keyer" 5 '[ "$(state host_open)" = 0 ]'
[ "$(state clears)" -gt "$clears" ] || fail "closing the program did not clear the keyer"
[[ "$(state received)" == *0003 ]] || fail "the last bytes were not host close ($(state received | tail -c 20))"
after=$(state keyed)
sleep 1
[ "$(state keyed)" = "$after" ] || fail "the keyer went on sending after the program closed"
pass "closing the program clears and closes the keyer"

# "File > Exit" while the keyer sends: the keyer is cleared and closed on the way out too.
start_app
start_logging n0cub
focus_main_window
keyed=$(state keyed)
clears=$(state clears)
xdotool key F1
wait_state "F1 after the restart sent nothing" 10 '[ ${#keyed} -lt $(( $(state keyed | wc -c) - 3 )) ]'
xdotool key alt+f; sleep 0.3; xdotool key e
wait_end 10 || fail "File > Exit did not end the program"
app_pid=""
wait_state "File > Exit did not close the keyer" 5 '[ "$(state host_open)" = 0 ]'
[ "$(state clears)" -gt "$clears" ] || fail "File > Exit did not clear the keyer"
after=$(state keyed)
sleep 1
[ "$(state keyed)" = "$after" ] || fail "the keyer went on sending after File > Exit"
pass "File > Exit clears and closes the keyer"

echo "$(basename "$0"): $passed passed"
