#!/usr/bin/env bash
# The real program polling Debian's rigctld with Hamlib's dummy radio, on 127.0.0.1 and a free
# port: the band, mode and frequency of each contact follow what rigctl sets; Ctrl+G tunes the
# radio as rigctl reads it back; a killed daemon stops the following without a message box, and
# a restarted one is found again.
#   rigctld_e2e.sh CUBWAVE_BINARY
set -euo pipefail
bin=$(readlink -f "$1")
src=$(cd "$(dirname "$0")/../.." && pwd)
command -v rigctld >/dev/null && command -v rigctl >/dev/null || {
  echo "$(basename "$0"): rigctld and rigctl (libhamlib-utils) are not installed" >&2
  exit 1
}
# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"

rigctld_pid=""
listening() { rigctl -m 2 -r "127.0.0.1:$port" f >/dev/null 2>&1; }
# Starts the dummy radio's daemon on $port; false when it could not take the port.
start_rigctld() {
  rigctld -m 1 -T 127.0.0.1 -t "$port" >>"$work/rigctld.out" 2>&1 &
  rigctld_pid=$!
  extra_pids+=("$rigctld_pid")
  for _ in $(seq 1 50); do
    listening && return 0
    kill -0 "$rigctld_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
for _ in $(seq 1 20); do
  port=$((20000 + RANDOM % 40000))
  start_rigctld && break
  rigctld_pid=""
done
[ -n "$rigctld_pid" ] || fail "rigctld did not start on a free port"
extra_logs+=("$work/rigctld.out")
set_radio() { rigctl -m 2 -r "127.0.0.1:$port" "$@" >/dev/null; }

# The rig window's settings poll "Hamlib rigctld" every 100 ms; its address is in the settings
# store; the main window's preferences keep the rig name, on 80 m phone so following shows.
printf '"4800 "\r\n"N"\r\n"8"\r\n"2"\r\n""\r\n""\r\n"4800,N,8,2"\r\n1\r\n"N"\r\n"F"\r\n"Hamlib rigctld"\r\n0\r\n1\r\n1\r\n' \
  >"$work/RigCntrl.txt"
mkdir -p "$HOME/.config/Brantel_Software"
printf '[Settings]\nRig\\RigctldHost=127.0.0.1\nRig\\RigctldPort=%s\n' "$port" \
  >"$HOME/.config/Brantel_Software/Brantel_Software.conf"
awk 'NR == 4 { print "\"PH\"\r"; next } NR == 12 { print "\"80\"\r"; next } NR == 16 { print "\"Hamlib rigctld\"\r"; next } { print }' \
  "$src/data/cubwavepref.txt" >"$work/cubwavepref.txt"

# Any window of the program other than the main one (a message box) is a failure here.
no_box() {
  local ids
  ids=$(xdotool search --onlyvisible --pid "$app_pid" --name '.' 2>/dev/null || true)
  for id in $ids; do
    name=$(xdotool getwindowname "$id" 2>/dev/null || true)
    [[ "$name" =~ ^$main_caption$ ]] || [ -z "$name" ] || fail "a window appeared: '$name'"
  done
}

set_radio F 7025000 M CW 0
start_app
start_logging "n0cub"
sleep 1.5
log_contact 1 "w1aw tom 12 ct blue" "$(radio_contact_re W1AW 12 Blue CT CW 40 TOM 7\\.025)" \
  "the first contact did not take the radio's 40 m CW"
pass "polled from the start-up on: a contact takes rigctld's band, mode and frequency"

set_radio F 14250000 M USB 0
sleep 1.5
log_contact 2 "k2abc ann 11 ny red" "$(radio_contact_re K2ABC 11 Red NY PH 20 ANN 14\\.250)" \
  "the second contact did not follow the radio to 20 m USB"
pass "band, mode and frequency follow the radio to another band and mode"

# Ctrl+G and 14.025: the band plan's CW, then the frequency, as rigctld reads them back.
focus_call_field
xdotool key ctrl+g
wait_window " Change Frequency and Mode \\(Ctrl G \\(Go\\)\\)" 10
sleep 0.5
xdotool type --delay 40 "14.025"
xdotool key Return
for _ in $(seq 1 50); do
  [ "$(rigctl -m 2 -r "127.0.0.1:$port" f)" == "14025000" ] && break
  sleep 0.1
done
[ "$(rigctl -m 2 -r "127.0.0.1:$port" f)" == "14025000" ] || fail "the daemon does not read 14025000 after tuning"
[ "$(rigctl -m 2 -r "127.0.0.1:$port" m | head -n 1)" == "CW" ] || fail "the daemon's mode is not CW after tuning"
xdotool key Escape
sleep 1
log_contact 3 "k3xyz cy 13 ma green" "$(radio_contact_re K3XYZ 13 Green MA CW 20 CY 14\\.025)" \
  "the contact after tuning did not take 20 m CW 14.025"
pass "Ctrl+G tunes the radio through rigctld, which reads back 14025000"

# The daemon is killed: no message box, and once a contact has taken the last report, the next
# has no frequency from the radio.
kill "$rigctld_pid"
wait "$rigctld_pid" 2>/dev/null || true
sleep 3
no_box
focus_call_field
type_line "k4def dee 10 ga pink"
wait_log_lines 4
sleep 1.5
log_contact 5 "k5jkl fay 10 al plum" "$(radio_contact_re K5JKL 10 Plum AL CW 20 FAY "")" \
  "a contact after the daemon died took a frequency"
pass "a killed daemon: no box, and the band and mode stop following"

# Restarted on the same port: found again within the 5 s retry.
start_rigctld || fail "rigctld did not start again on port $port"
set_radio F 21025000 M USB 0
sleep 7
no_box
log_contact 6 "k5ghi eve 9 tx gold" "$(radio_contact_re K5GHI 9 Gold TX PH 15 EVE 21\\.025)" \
  "the restarted daemon was not found again"
pass "a restarted daemon is found again and the band and mode follow it"

kill -TERM "$app_pid"
wait_end 5 || fail "the window did not close"
app_pid=""
kill "$rigctld_pid" 2>/dev/null || true
echo "$(basename "$0"): $passed passed, 0 failed"
