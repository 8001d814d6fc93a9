#!/usr/bin/env bash
# The voice keyer in the real program under Xvfb: F1 in phone mode keys PTT on a serial port and
# plays a real wave file. The PTT port is a pseudo-terminal named in "serialports.txt"; a preloaded
# library records the program's modem-line requests (ptys refuse them) with their times. Without
# a sound card GStreamer plays into a silent sink at the sound's own speed, so the file's length
# is how long PTT must stay up.
#   voice_e2e.sh PROGRAM IOCTL_RECORDER
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

# A pseudo-terminal stands in for the PTT serial port; its master side is held open meanwhile.
python3 -c '
import os, pty, sys, time
master, slave = pty.openpty()
print(os.ttyname(slave), flush=True)
time.sleep(600)
' >"$work/pty" &
extra_pids+=($!)
for _ in $(seq 1 50); do [ -s "$work/pty" ] && break; sleep 0.1; done
pty_name=$(head -n 1 "$work/pty")
[ -c "$pty_name" ] || fail "no pseudo-terminal"
printf '1=%s\n' "$pty_name" >"$work/serialports.txt"

# The message: a real recording of about 1.3 s, F1 on port 1 with RTS; phone mode.
cp "$src/data-extra/voice-cues/NavEn.wav" "$work/cq.wav"
length_ms=$(soxi -D "$work/cq.wav" | awk '{ printf "%d", $1 * 1000 }')
[ "$length_ms" -gt 500 ] || fail "the message file is too short: $length_ms ms"
{
  printf '"%s"\r\n' "$work/cq.wav"
  for _ in 2 3 4 5 6 7 8 9; do printf '""\r\n'; done
  printf '"1"\r\n0\r\n"0"\r\n"&H378"\r\n'
} >"$work/wave2.txt"
sed -i '4s/.*/"PH"\r/' "$work/cubwavepref.txt"

# "<ns> <request> <bits>" lines; RTS is bit 0x004.
rts_events() { awk '($2 == "TIOCMBIS" || $2 == "TIOCMBIC") && int($3 / 4) % 2 == 1 { print $1, $2 }' "$work/ioctl.log" 2>/dev/null || true; }

(cd "$work" && CUBWAVE_IOCTL_LOG="$work/ioctl.log" LD_PRELOAD="$recorder" ASAN_OPTIONS="$asan_options" exec "$bin") >"$work/app.out" 2>&1 &
app_pid=$!
start_logging n0cub
focus_main_window
# The start-up read "wave2.txt" without opening the port; the message's pipeline is built ahead.
sleep 1.5
[ -z "$(rts_events)" ] || fail "PTT was keyed before any key"
ls -l /proc/"$app_pid"/fd 2>/dev/null | grep -q -- "$pty_name" && fail "the PTT port was opened at start-up"
pass "the start-up reads wave2.txt and leaves the PTT port closed"

xdotool key F1
for _ in $(seq 1 100); do
  [ "$(rts_events | grep -c TIOCMBIC || true)" -ge 2 ] && [ "$(rts_events | grep -c TIOCMBIS || true)" -ge 1 ] && break
  sleep 0.1
done
events=$(rts_events)
# Opening the line drops RTS and DTR; then exactly one raise and one drop.
[ "$(grep -c TIOCMBIS <<<"$events" || true)" -eq 1 ] || fail "RTS was not raised exactly once: $events"
raised_ns=$(awk '$2 == "TIOCMBIS" { print $1; exit }' <<<"$events")
dropped_ns=$(awk -v r="$raised_ns" '$2 == "TIOCMBIC" && $1 > r { print $1; exit }' <<<"$events")
[ -n "$dropped_ns" ] || fail "RTS was not dropped after the message: $events"
hold_ms=$(( (dropped_ns - raised_ns) / 1000000 ))
echo "PTT held $hold_ms ms for a $length_ms ms file"
[ "$hold_ms" -ge $(( length_ms - 30 )) ] || fail "PTT dropped after $hold_ms ms, before the $length_ms ms file ended"
[ "$hold_ms" -le $(( length_ms + 1000 )) ] || fail "PTT held $hold_ms ms, long after the $length_ms ms file ended"
pass "F1 in phone mode keys RTS for the file's length and drops it after"

# Esc while the message plays stops it and drops PTT at once.
xdotool key F1
for _ in $(seq 1 50); do [ "$(rts_events | grep -c TIOCMBIS || true)" -ge 2 ] && break; sleep 0.05; done
[ "$(rts_events | grep -c TIOCMBIS || true)" -ge 2 ] || fail "the second F1 did not key RTS"
sleep 0.3
xdotool key Escape
sleep 0.3
last=$(rts_events | tail -n 1)
[[ "$last" == *TIOCMBIC ]] || fail "Esc left RTS up: $(rts_events)"
raised_ns=$(rts_events | awk '$2 == "TIOCMBIS" { r = $1 } END { print r }')
dropped_ns=${last%% *}
[ $(( (dropped_ns - raised_ns) / 1000000 )) -lt $(( length_ms - 200 )) ] || fail "Esc did not cut the message short"
pass "Esc stops the playing message and drops PTT"

kill -TERM "$app_pid"
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end on SIGTERM"
app_pid=""
[[ "$(rts_events | tail -n 1)" == *TIOCMBIC ]] || fail "RTS was left up at the end"
pass "the program ends with PTT down"

echo "voice e2e: $passed passed, 0 failed"
