#!/usr/bin/env bash
# The spot window's Telnet path in the real program under Xvfb, against a scripted cluster on
# 127.0.0.1: the stored cluster is connected at the end of the start-up, its option request is
# refused, Ctrl+D shows the window and what the operator types reaches the cluster; a cluster
# that closes leaves the window closed, Esc opens it again, and "&Done" keeps the settings.
#   spots_e2e.sh CUBWAVE_BINARY SCRIPTED_CLUSTER
set -euo pipefail
bin=$(readlink -f "$1")
cluster_bin=$(readlink -f "$2")
src=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"

"$cluster_bin" "$work" >"$work/cluster.out" 2>&1 &
extra_pids+=("$!")
extra_logs+=("$work/cluster.out")
for _ in $(seq 1 100); do
  [ -s "$work/cluster.port" ] && break
  sleep 0.1
done
[ -s "$work/cluster.port" ] || fail "the scripted cluster did not start"
port=$(head -n 1 "$work/cluster.port")

connections() { local n; n=$(grep -c '' "$work/cluster.connections" 2>/dev/null || true); echo "${n:-0}"; }
received_has() { grep -q -a -F -- "$1" "$work/cluster.received" 2>/dev/null; }
has_connections() { [ "$(connections)" -ge "$1" ]; }
spot_window_visible() { xdotool search --onlyvisible --name "^ DX Spotting Setup\$" >/dev/null 2>&1; }

# "PackSpot.txt" as "&Done" writes it: a Telnet cluster on the scripted one's port.
printf '"9600"\r\n"N"\r\n"8"\r\n"1"\r\n1\r\n"N"\r\n"Telnet"\r\n0\r\n3\r\n0\r\n#FALSE#\r\n"03"\r\n"%s"\r\n"127.0.0.1"\r\n' \
  "$port" >"$work/PackSpot.txt"

start_app
start_logging "n0cub"
wait_for "the stored cluster was not connected at start-up" has_connections 1
spot_window_visible && fail "the spot window was shown at start-up"
# IAC WONT ECHO: the option request is refused.
wait_for "the cluster's option request was not refused" received_has $'\xff\xfc\x01'
pass "the stored cluster is connected at the end of the start-up, hidden, and its option refused"

focus_main_window
xdotool key ctrl+d
wait_window " DX Spotting Setup" 10
sleep 0.5
# Activating the window puts the focus in the send box.
xdotool type --delay 40 "n0cub"
xdotool key Return
wait_for "the typed login did not reach the cluster" received_has $'n0cub\r\n'
pass "Ctrl+D shows the window and a typed line goes to the cluster with CR LF"

# The cluster closes the connection: the next line typed opens it again.
xdotool type --delay 40 "bye"
xdotool key Return
wait_for "bye did not reach the cluster" received_has $'bye\r\n'
sleep 1
[ "$(connections)" -eq 1 ] || fail "the program connected again by itself"
xdotool key Escape
wait_for "Esc after the cluster closed did not connect again" has_connections 2
pass "a cluster that closes leaves the port closed, and Esc opens it again"

xdotool key alt+d
for _ in $(seq 1 50); do spot_window_visible || break; sleep 0.1; done
spot_window_visible && fail "Done did not hide the spot window"
[ "$(grep -c '' "$work/PackSpot.txt")" -eq 14 ] || fail "PackSpot.txt does not hold 14 lines"
[ "$(sed -n 7p "$work/PackSpot.txt")" == $'"Telnet"\r' ] || fail "PackSpot.txt does not keep the type"
[ "$(sed -n 13p "$work/PackSpot.txt")" == "\"$port\""$'\r' ] || fail "PackSpot.txt does not keep the port"
pass "Done hides the window and keeps the settings in PackSpot.txt"

kill -TERM "$app_pid"
wait_end 5 || fail "the program did not end"
app_pid=""
echo "$(basename "$0"): $passed passed, 0 failed"
