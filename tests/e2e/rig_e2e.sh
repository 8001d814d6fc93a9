#!/usr/bin/env bash
# The real program polling a simulated Kenwood radio on a pseudo-terminal: the stored rig is
# polled from the start-up on, and the band, mode and frequency of each logged contact follow the
# radio's knobs. The radio keeps a mode per band, as real ones do, and recalls it on a band change. With CUBWAVE_E2E_SCREENS set to a folder, a picture of the rig window polling is
# saved there.
#   rig_e2e.sh CUBWAVE_BINARY RIG_SIMULATOR_BINARY
set -euo pipefail
bin=$(readlink -f "$1")
sim=$(readlink -f "$2")
src=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"

start_simulated_kenwood "$sim" --band-memories
acks() { grep -c '^ok$' "$work/sim.out" || true; }
turn_knob() {  # command
  local before; before=$(acks)
  echo "$1" >&7
  for _ in $(seq 1 50); do
    [ "$(acks)" -gt "$before" ] && return 0
    sleep 0.1
  done
  fail "the simulator did not take '$1'"
}

# The main window's preferences keep the rig name, on 80 m phone so that following the radio shows.
awk 'NR == 4 { print "\"PH\"\r"; next } NR == 12 { print "\"80\"\r"; next } NR == 16 { print "\"Kenwood\"\r"; next } { print }' \
  "$src/data/cubwavepref.txt" >"$work/cubwavepref.txt"

start_app
start_logging "n0cub"
xdotool search --name "^Invalid Comm Settings\\.\$" >/dev/null 2>&1 && fail "the rig port did not open"
sleep 1.5
log_contact 1 "w1aw tom 12 ct blue" "$(radio_contact_re W1AW 12 Blue CT CW 20 TOM 14\\.025)" \
  "the first contact did not take the radio's 20 m CW"
pass "polled from the start-up on: a contact takes the radio's band, mode and frequency"

turn_knob "freq 7160000"
turn_knob "mode lsb"
sleep 1.5
log_contact 2 "k2abc ann 11 ny red" "$(radio_contact_re K2ABC 11 Red NY PH 40 ANN 7\\.160)" \
  "the second contact did not follow the radio to 40 m LSB"
pass "band, mode and frequency follow the radio to another band"

# Ctrl+G, a frequency and Enter tune the polled radio; Esc closes the window.
tune_to() {  # MHz
  focus_call_field
  xdotool key ctrl+g
  wait_window " Change Frequency and Mode \\(Ctrl G \\(Go\\)\\)" 10
  sleep 0.5
  xdotool type --delay 40 "$1"
  xdotool key Return
  sleep 2
  xdotool key Escape
  sleep 0.5
}

# Ctrl+G tunes the polled radio: 7.025 and Enter send the band plan's mode and the frequency on
# the rig's own line, and the next contact takes 40 m CW 7.025 from the poll.
tune_to 7.025
log_contact 3 "k3xyz cy 13 ma green" "$(radio_contact_re K3XYZ 13 Green MA CW 40 CY 7\\.025)" \
  "the contact after tuning did not take 40 m CW 7.025"
pass "Ctrl+G tunes the polled radio and the next contact follows it"

# A radio with band memories recalls the new band's last mode when the frequency command changes
# band: the operator last worked 20 m in USB, then went to 80 m. Tuned to 3.550 (CW) and then to
# 14.025, the radio must end in the band plan's CW there, not in the USB it kept for 20 m.
turn_knob "freq 14250000"
turn_knob "mode usb"
turn_knob "freq 3550000"
tune_to 3.550
tune_to 14.025
log_contact 4 "k4def di 10 ga white" "$(radio_contact_re K4DEF 10 White GA CW 20 DI 14\\.025)" \
  "the contact after 80 m CW and tuning to 14.025 did not take 20 m CW"
pass "tuning across bands keeps the band plan's mode on a radio with band memories"

# Ctrl+R shows the rig window while it polls; "&Done" (Alt+D) hides it and the preferences keep
# the rig name.
focus_call_field
xdotool key ctrl+r
wait_window " Rig Interface Setup" 10
sleep 1
if [ -n "${CUBWAVE_E2E_SCREENS:-}" ]; then
  mkdir -p "$CUBWAVE_E2E_SCREENS"
  wid=$(xdotool search --onlyvisible --name "^ Rig Interface Setup\$" | head -n 1)
  import -window "$wid" "$CUBWAVE_E2E_SCREENS/rig-window-polling.png"
fi
xdotool key alt+d
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name "^ Rig Interface Setup\$" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "^ Rig Interface Setup\$" >/dev/null 2>&1 && fail "\"&Done\" did not hide the rig window"
[ "$(sed -n 16p "$work/cubwavepref.txt")" == $'"Kenwood"\r' ] || fail "the preferences do not keep the rig name"
pass "Ctrl+R shows the rig window; \"&Done\" hides it and the preferences keep the rig"

kill -TERM "$app_pid"
wait_end 5 || fail "the window did not close"
app_pid=""
kill -TERM "$sim_pid"
wait "$sim_pid" || true
! grep -q '^unknown' "$work/sim.err" || fail "the program sent the radio commands it does not know: $(cat "$work/sim.err")"
pass "the program ends cleanly and sent the radio only commands it knows"

echo "$(basename "$0"): $passed passed, 0 failed"
