#!/usr/bin/env bash
# The real program keys CW on a serial line: a pseudo-terminal stands in for the port through
# "serialports.txt", and a preloaded library records the program's modem-control requests
# (a pty refuses them). F1 pressed in the main window must toggle DTR for each mark and leave
# it down; a SIGTERM in the middle of a sending must leave it down too.
# Usage: cw_e2e.sh <cubwave binary> <modem_ioctl_recorder library>
set -euo pipefail
bin=$(readlink -f "$1")
recorder=$(readlink -f "$2")
# A sanitizer build wants its runtime loaded first; the recorder only wraps ioctl, so it may
# come first here.
asan_options="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
src=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"
extra_logs+=("$work/ioctl.log")

# A pseudo-terminal held open by its master side; the program opens the other side as port 1.
python3 -u -c '
import os, pty, sys, time
master, slave = pty.openpty()
print(os.ttyname(slave), flush=True)
os.close(slave)
while True:
    try:
        os.read(master, 4096)
    except OSError:
        time.sleep(0.1)
' >"$work/pty" &
extra_pids+=($!)
for _ in $(seq 1 50); do grep -q '^/dev/' "$work/pty" 2>/dev/null && break; sleep 0.1; done
pty_path=$(head -n 1 "$work/pty")
[ -c "$pty_path" ] || fail "no pseudo-terminal"
printf '# the test port\n1=%s\n' "$pty_path" >"$work/serialports.txt"

# DTR keying on port 1 at 30 WPM; F1 "TEST" (6 marks), F2 a long text.
{
  printf '"TEST"\r\n"PARIS PARIS PARIS PARIS PARIS PARIS"\r\n'
  for _ in 3 4 5 6 7 8 9; do printf '""\r\n'; done
  printf '"1"\r\n"30"\r\n""\r\n""\r\n"0"\r\n2\r\n"&H378"\r\n1\r\n"0"\r\n'
} >"$work/cw.txt"

# The program with the recorder preloaded; the port's modem requests go to ioctl.log.
start_app() {
  : >"$work/ioctl.log"
  (cd "$work" && CUBWAVE_IOCTL_LOG="$work/ioctl.log" LD_PRELOAD="$recorder" ASAN_OPTIONS="$asan_options" exec "$bin") >"$work/app.out" 2>&1 &
  app_pid=$!
}
open_main_window() {
  start_app
  start_logging n0cub
  focus_main_window
}

# TIOCM_DTR is 2: key-down raises it (TIOCMBIS), key-up drops it (TIOCMBIC).
dtr_raises() { awk '$2 == "TIOCMBIS" && (int($3 / 2) % 2) { n++ } END { print n + 0 }' "$work/ioctl.log"; }
# The DTR state the last request left: 1 raised, 0 dropped, "none" when DTR was never touched.
dtr_last() {
  awk '($2 == "TIOCMBIS" || $2 == "TIOCMBIC") && (int($3 / 2) % 2) { s = ($2 == "TIOCMBIS") }
       $2 == "TIOCMSET" { s = (int($3 / 2) % 2) ? 1 : 0 }
       END { print (s == "" ? "none" : s) }' "$work/ioctl.log"
}
wait_raises() {  # count, seconds
  for _ in $(seq 1 $(( $2 * 10 ))); do
    [ "$(dtr_raises)" -ge "$1" ] && return 0
    sleep 0.1
  done
  fail "DTR was raised $(dtr_raises) times, not $1"
}

open_main_window
# Opening the port drops both lines before anything is keyed.
xdotool key F1
wait_raises 6 10
sleep 1
[ "$(dtr_raises)" -eq 6 ] || fail "F1 \"TEST\" raised DTR $(dtr_raises) times, not 6"
[ "$(dtr_last)" = 0 ] || fail "DTR was left raised after F1"
first=$(awk '($2 == "TIOCMBIS" || $2 == "TIOCMBIC") { print $2; exit }' "$work/ioctl.log")
[ "$first" = TIOCMBIC ] || fail "the port's first modem request was not a drop"
pass "F1 keys \"TEST\" on DTR (6 marks) and leaves it down"

# Every raise is followed by a drop: no mark is left open between characters.
awk '($2 == "TIOCMBIS" || $2 == "TIOCMBIC") && (int($3 / 2) % 2) {
       if ($2 == "TIOCMBIS" && up) bad = 1; up = ($2 == "TIOCMBIS") }
     END { exit bad }' "$work/ioctl.log" || fail "DTR raised twice without a drop"
pass "each mark is one raise and one drop"

# A termination request while a long text goes out: the sending stops after the character on
# the air, the window closes (the log backed up) and DTR is down.
xdotool key F2
wait_raises 9 10
kill -TERM "$app_pid"
wait_end 10 || fail "SIGTERM during sending did not end the program"
rc=0; wait "$app_pid" || rc=$?
app_pid=""
[ "$rc" -eq 0 ] || fail "the program ended with status $rc after SIGTERM"
[ "$(dtr_last)" = 0 ] || fail "DTR was left raised after SIGTERM"
[ "$(dtr_raises)" -lt 90 ] || fail "the whole text was sent after SIGTERM ($(dtr_raises) raises)"
pass "SIGTERM during sending ends the program with DTR down"

echo "cw e2e: $passed passed, 0 failed"
