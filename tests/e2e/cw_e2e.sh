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

monotonic_ns() { python3 -c 'import time; print(time.monotonic_ns())'; }
# DTR raises recorded after a monotonic time (the recorder's clock).
dtr_raises_after() { awk -v t="$1" '$1 > t && $2 == "TIOCMBIS" && (int($3 / 2) % 2) { n++ } END { print n + 0 }' "$work/ioctl.log"; }
# Backups written after the marker file was touched.
new_backups() { find "$HOME/Documents/Brantel Software/Cubwave/BACKUP" -name '*.log' -newer "$work/marker" 2>/dev/null | wc -l; }

# Ctrl+C in the terminal while a long text goes out: the keying stops before the next mark,
# DTR drops at once, and the window closes in order, backing the log up.
open_main_window
# A contact changes the log, so the orderly close backs it up.
focus_call_field
lines_before=$(log_lines)
type_line "k1abc bob 12 ct red"
wait_log_lines $(( lines_before + 1 ))
xdotool key F2
wait_raises 9 10
touch "$work/marker"
t_int=$(monotonic_ns)
kill -INT "$app_pid"
wait_end 10 || fail "SIGINT during sending did not end the program"
rc=0; wait "$app_pid" || rc=$?
app_pid=""
[ "$rc" -eq 0 ] || fail "the program ended with status $rc after SIGINT"
[ "$(dtr_last)" = 0 ] || fail "DTR was left raised after SIGINT"
# The handler's release drops DTR and RTS together; no mark starts after it.
released=$(awk -v t="$t_int" '$1 > t && $2 == "TIOCMBIC" && $3 == 6 { print $1; exit }' "$work/ioctl.log")
[ -n "$released" ] || fail "no release of the lines after SIGINT"
[ $(( (released - t_int) / 1000000 )) -lt 500 ] || fail "the lines were released $(( (released - t_int) / 1000000 )) ms after SIGINT"
late=$(dtr_raises_after "$released")
[ "$late" -eq 0 ] || fail "DTR was raised $late times after the release on SIGINT"
[ "$(new_backups)" -ge 1 ] || fail "no backup after SIGINT"
pass "SIGINT during sending stops the keying at once, drops DTR and closes with a backup"

# One port for CW (DTR) and PTT (RTS): F1 in phone mode while CW is still sending. The CW text
# stops after the character on the air and its line closes before PTT goes up; PTT then holds
# for the whole message and CW never takes the port back meanwhile. A null sink gives the
# program a real sound output.
if command -v pulseaudio >/dev/null; then
  export XDG_RUNTIME_DIR="$work/xdg"
  mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
  pulseaudio -n -F /dev/null --daemonize=no --exit-idle-time=-1 --load=module-null-sink \
    --load=module-native-protocol-unix >"$work/pulse.out" 2>&1 &
  extra_pids+=($!)
  for _ in $(seq 1 50); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
fi
cp "$src/data-extra/voice-cues/NavEn.wav" "$work/cq.wav"
length_ms=$(soxi -D "$work/cq.wav" | awk '{ printf "%d", $1 * 1000 }')
{
  printf '"%s"\r\n' "$work/cq.wav"
  for _ in 2 3 4 5 6 7 8 9; do printf '""\r\n'; done
  printf '"1"\r\n0\r\n"0"\r\n"&H378"\r\n'
} >"$work/wave2.txt"
rts_events() { awk '($2 == "TIOCMBIS" || $2 == "TIOCMBIC") && int($3 / 4) % 2 == 1 { print $1, $2 }' "$work/ioctl.log"; }
open_main_window
xdotool key F2
wait_raises 4 10
xdotool key alt+m
sleep 0.2
xdotool key p
sleep 0.1
t_f1=$(monotonic_ns)
xdotool key F1
for _ in $(seq 1 100); do rts_events | grep -q TIOCMBIS && break; sleep 0.05; done
rts_up=$(rts_events | awk '$2 == "TIOCMBIS" { print $1; exit }')
[ -n "$rts_up" ] || fail "F1 in phone mode never keyed PTT: $(tail -n 5 "$work/ioctl.log")"
# CW ended its character and stopped: nothing of it after PTT went up, DTR down by then.
[ "$(dtr_raises_after "$rts_up")" -eq 0 ] || fail "CW keyed DTR while PTT was up"
awk -v t="$rts_up" '$1 < t && ($2 == "TIOCMBIS" || $2 == "TIOCMBIC") && (int($3 / 2) % 2) { s = ($2 == "TIOCMBIS") }
     END { exit s }' "$work/ioctl.log" || fail "DTR was still up when PTT went up"
# The character on the air finishes (a "P" is 14 units, 560 ms at 30 WPM); nothing after it.
[ "$(dtr_raises_after $(( t_f1 + 700000000 )))" -eq 0 ] || fail "CW went on sending after F1"
for _ in $(seq 1 100); do [ "$(rts_events | awk -v r="$rts_up" '$1 > r && $2 == "TIOCMBIC"' | wc -l)" -ge 1 ] && break; sleep 0.1; done
rts_down=$(rts_events | awk -v r="$rts_up" '$1 > r && $2 == "TIOCMBIC" { print $1; exit }')
[ -n "$rts_down" ] || fail "PTT was never dropped"
hold_ms=$(( (rts_down - rts_up) / 1000000 ))
echo "PTT held $hold_ms ms for a $length_ms ms file after CW gave the port up"
[ "$hold_ms" -ge $(( length_ms - 30 )) ] || fail "PTT dropped after $hold_ms ms, before the $length_ms ms file ended"
[ "$(dtr_raises_after "$rts_up")" -eq 0 ] || fail "CW keyed DTR during or after the message"
pass "F1 in phone mode while CW sends on the same port: CW stops, then PTT holds for the message"
kill -TERM "$app_pid"
wait_end 10 || fail "the program did not end"
app_pid=""

echo "cw e2e: $passed passed, 0 failed"
