#!/usr/bin/env bash
# The band map and the spot list in the real program under Xvfb: the scripted cluster's spots
# appear on the band map; a right click on one tunes a simulated Kenwood on a pseudo-terminal
# (the next contact takes the radio's new frequency from the poll) and puts the call in the entry
# line; with "List" then chosen in the spot window, a click on a listed spot tunes the radio and
# puts its call in the entry line, and the contact completed from there is in log.txt. The program says where its
# spots are (CUBWAVE_E2E_SPOT_REPORT). With CUBWAVE_E2E_SCREENS set to a folder, pictures of the
# band map and the list are saved there.
#   bandmap_e2e.sh CUBWAVE_BINARY SCRIPTED_CLUSTER RIG_SIMULATOR X_SCREENSHOT
set -euo pipefail
bin=$(readlink -f "$1")
cluster_bin=$(readlink -f "$2")
sim=$(readlink -f "$3")
shooter=$(readlink -f "$4")
src=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"
export CUBWAVE_E2E_SPOT_REPORT=1

screenshot() {  # file name without .png
  [ -n "${CUBWAVE_E2E_SCREENS:-}" ] || return 0
  mkdir -p "$CUBWAVE_E2E_SCREENS"
  "$shooter" "$CUBWAVE_E2E_SCREENS/$1.png" >/dev/null 2>&1 || true
}

# The cluster.
"$cluster_bin" "$work" >"$work/cluster.out" 2>&1 &
extra_pids+=("$!")
extra_logs+=("$work/cluster.out")
wait_for "the scripted cluster did not start" test -s "$work/cluster.port"
port=$(head -n 1 "$work/cluster.port")
connections() { local n; n=$(grep -c '' "$work/cluster.connections" 2>/dev/null || true); echo "${n:-0}"; }
has_connections() { [ "$(connections)" -ge "$1" ]; }

# The radio, its knobs on a pipe this script holds open; it starts away from every spot.
start_simulated_kenwood "$sim"
echo "freq 14100000" >&7
wait_for "the simulator did not take its first frequency" grep -q '^ok$' "$work/sim.out"

awk 'NR == 12 { print "\"20\"\r"; next } NR == 16 { print "\"Kenwood\"\r"; next } { print }' \
  "$src/data/cubwavepref.txt" >"$work/cubwavepref.txt"
pack_spot() {  # "#FALSE#" for the band map, "#TRUE#" for the list
  printf '"9600"\r\n"N"\r\n"8"\r\n"1"\r\n1\r\n"N"\r\n"Telnet"\r\n0\r\n3\r\n0\r\n%s\r\n"03"\r\n"%s"\r\n"127.0.0.1"\r\n' \
    "$1" "$port" >"$work/PackSpot.txt"
}

# Logs in at the cluster from the spot window (its spots follow the login) and presses "&Done",
# which makes the spot room with the chosen display.
log_in_and_done() {  # connections so far
  wait_for "the stored cluster was not connected at start-up" has_connections "$1"
  focus_main_window
  xdotool key ctrl+d
  wait_window " DX Spotting Setup" 10
  sleep 0.5
  xdotool type --delay 40 "n0cub"
  xdotool key Return
  sleep 1
  xdotool key alt+d
  sleep 0.5
}
# The centre of the newest place the program reported for a call or an option: "X Y".
place_of() {  # kind (spot-label, spot-row or option), call or option name
  grep -a "^$1 [0-9A-Za-z-]* $2 " "$work/app.out" | tail -n 1 | awk '{ print $4, $5 }'
}
reported() { [ -n "$(place_of "$1" "$2")" ]; }
contact_re() {  # call band frequency
  printf '^"%s",.*,"%s","[A-Z]*","%s"\r$' "$@"
}

pack_spot "#FALSE#"
start_app
start_logging "n0cub"
log_in_and_done 1
wait_for "the band map did not show K1ABC" reported spot-label K1ABC
reported spot-label JA1ZZ && fail "a 15 m spot shows on the 20 m band map"
screenshot bandmap-20m
pass "the cluster's spots reach the band map of the current band only"

read -r x y <<<"$(place_of spot-label K1ABC)"
xdotool mousemove "$x" "$y" click 3
sleep 0.5
# The Tab moved on to the name: the rest of the exchange follows.
xdotool type --delay 40 "tom 12 ct"
xdotool key Return
wait_log_lines 1
line=$(sed -n 1p "$work/log.txt")
[[ "$line" =~ $(contact_re K1ABC 20 14\\.025) ]] || fail "the right-clicked spot's contact did not take K1ABC on 14.025: $line"
pass "a right click on a band-map spot tunes the radio, takes the call and tabs on"

# "List" chosen in the spot window and "&Done": the list takes the band map's place.
focus_main_window
xdotool key ctrl+d
wait_window " DX Spotting Setup" 10
wait_for "the spot window's List option was not reported" reported option OptList
read -r x y <<<"$(place_of option OptList)"
xdotool mousemove "$x" "$y" click 1
sleep 0.3
xdotool key alt+d
sleep 0.5
wait_for "the list did not show JA1ZZ" reported spot-row JA1ZZ
[ "$(sed -n 11p "$work/PackSpot.txt")" == $'#TRUE#\r' ] || fail "PackSpot.txt does not keep the List choice"
screenshot spot-list
pass "List chosen in the spot window takes the band map's place"
read -r x y <<<"$(place_of spot-row JA1ZZ)"
xdotool mousemove "$x" "$y" click 1
sleep 1.5
# No Tab: the focus stays in the call field, and Space moves on to the name; the location
# is the looked-up country.
xdotool type --delay 40 " ann 11"
xdotool key Return
wait_log_lines 2
line=$(sed -n 2p "$work/log.txt")
[[ "$line" =~ $(contact_re JA1ZZ 15 21\\.074) ]] || fail "the listed spot's contact did not take JA1ZZ on 21.074: $line"
pass "a click on a listed spot tunes the radio and takes the call; the contact is logged"

! grep -q '^unknown' "$work/sim.err" || fail "the program sent the radio commands it does not know: $(cat "$work/sim.err")"
kill -TERM "$app_pid"
wait_end 10 || fail "the program did not end"
app_pid=""
echo "$(basename "$0"): $passed passed, 0 failed"
