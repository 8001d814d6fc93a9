#!/usr/bin/env bash
# The voice keyer in the real program under Xvfb: F1 in phone mode keys PTT on a serial port and
# plays a real wave file. The PTT port is a pseudo-terminal named in "serialports.txt"; a preloaded
# library records the program's modem-line requests (ptys refuse them) with their times. The sound
# goes to a PulseAudio server of this run's own with a null sink, whose monitor is recorded, so PTT
# is checked against when the sound really starts and ends. A second run without any sound server
# must key nothing.
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
extra_logs+=("$work/ioctl.log" "$work/pulseaudio.log")

# The run's own sound server: a null sink, reached only through its socket in the run's folder.
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -n -F /dev/null --daemonize=no --exit-idle-time=-1 --load=module-null-sink \
  --load="module-native-protocol-unix auth-anonymous=1" >"$work/pulseaudio.log" 2>&1 &
extra_pids+=($!)
pulse_server="unix:$XDG_RUNTIME_DIR/pulse/native"
for _ in $(seq 1 100); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/pulse/native" ] || fail "pulseaudio did not start"

# The null sink's monitor, 8 kHz mono: the raw samples, and each chunk's arrival time
# (CLOCK_MONOTONIC, as the ioctl recorder's) with the byte count so far.
PULSE_SERVER="$pulse_server" python3 -c '
import os, signal, subprocess, sys, time
rec = subprocess.Popen(["parec", "-d", "null.monitor", "--raw", "--format=s16le", "--rate=8000",
                        "--channels=1", "--latency-msec=10"], stdout=subprocess.PIPE)
def stop(*_):
    rec.terminate()
    sys.exit(0)
signal.signal(signal.SIGTERM, stop)
raw = open(sys.argv[1], "wb")
times = open(sys.argv[2], "w")
total = 0
while True:
    chunk = os.read(rec.stdout.fileno(), 4096)
    if not chunk:
        break
    now = time.monotonic_ns()
    raw.write(chunk)
    raw.flush()
    total += len(chunk)
    times.write(f"{now} {total}\n")
    times.flush()
' "$work/monitor.raw" "$work/monitor.times" &
extra_pids+=($!)
for _ in $(seq 1 50); do [ -s "$work/monitor.times" ] && break; sleep 0.1; done
[ -s "$work/monitor.times" ] || fail "the null sink's monitor is not being recorded"

# "<start_ns> <end_ns>" of each sound on the monitor (runs of samples above the noise, joined
# across gaps under 50 ms). Every chunk arrives after it was played, so the earliest arrival less
# its samples' length places the recording's first sample.
sounds() {
  python3 - "$work/monitor.raw" "$work/monitor.times" <<'PY'
import struct, sys
rate = 8000
raw = open(sys.argv[1], "rb").read()
n = len(raw) // 2
samples = struct.unpack(f"<{n}h", raw[:2 * n])
t0 = None
for line in open(sys.argv[2]):
    arrived, total = map(int, line.split())
    start = arrived - (total // 2) * 1_000_000_000 // rate
    t0 = start if t0 is None else min(t0, start)
gap = rate // 20
first = last = None
for i, x in enumerate(samples):
    if abs(x) > 500:
        if first is not None and i - last > gap:
            print(t0 + first * 1_000_000_000 // rate, t0 + (last + 1) * 1_000_000_000 // rate)
            first = None
        if first is None:
            first = i
        last = i
if first is not None:
    print(t0 + first * 1_000_000_000 // rate, t0 + (last + 1) * 1_000_000_000 // rate)
PY
}

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

# The message: a 2.0 s tone, sound from its first sample to its last; F1 on port 1 with RTS.
sox -n -r 8000 -c 1 -b 16 "$work/cq.wav" synth 2.0 sine 440 vol 0.5
length_ms=2000
# F1 repeats every 3 s; each key in the main window ends the repeat, the next F1 starts it again.
loop_s=3
{
  printf '"%s"\r\n' "$work/cq.wav"
  for _ in 2 3 4 5 6 7 8 9; do printf '""\r\n'; done
  printf '"1"\r\n0\r\n"%s"\r\n"&H378"\r\n' "$loop_s"
} >"$work/wave2.txt"
sed -i '4s/.*/"PH"\r/' "$work/cubwavepref.txt"

# "<ns> <request> <bits>" lines; RTS is bit 0x004.
rts_events() { awk '($2 == "TIOCMBIS" || $2 == "TIOCMBIC") && int($3 / 4) % 2 == 1 { print $1, $2 }' "$work/ioctl.log" 2>/dev/null || true; }
raises() { rts_events | grep -c TIOCMBIS || true; }

# GStreamer's warnings and errors go to the program's output, shown when the run fails: a file
# that did not load keys nothing, and only the status line would say why.
start_voice_app() {  # PULSE_SERVER for the program
  (cd "$work" && PULSE_SERVER="$1" CUBWAVE_IOCTL_LOG="$work/ioctl.log" LD_PRELOAD="$recorder" \
    GST_DEBUG=2 GST_DEBUG_NO_COLOR=1 ASAN_OPTIONS="$asan_options" exec "$bin") >"$work/app.out" 2>&1 &
  app_pid=$!
}
# The program's visible windows, for a key that keyed nothing: a message box would have taken it.
windows_shown() { xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | paste -sd '|' || true; }
stop_voice_app() {
  kill -TERM "$app_pid"
  for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end on SIGTERM"
  app_pid=""
  [[ "$(rts_events | tail -n 1)" == *TIOCMBIC ]] || fail "RTS was left up at the end"
  return 0
}

# F1, then PTT against the sound of that message on the monitor: up before the first sound and
# at most 250 ms before it, down after the last sound and at most 100 ms after it.
message_on_the_air() {  # what
  local before raised_ns dropped_ns spans first_ns last_ns heard_ms
  before=$(raises)
  xdotool key F1
  for _ in $(seq 1 100); do
    [ "$(raises)" -gt "$before" ] && [[ "$(rts_events | tail -n 1)" == *TIOCMBIC ]] && break
    sleep 0.1
  done
  [ "$(raises)" -eq $((before + 1)) ] || fail "$1: RTS was not raised exactly once: $(rts_events); windows: $(windows_shown)"
  raised_ns=$(rts_events | awk '$2 == "TIOCMBIS" { r = $1 } END { print r }')
  dropped_ns=$(rts_events | awk -v r="$raised_ns" '$2 == "TIOCMBIC" && $1 > r { print $1; exit }')
  [ -n "$dropped_ns" ] || fail "$1: RTS was not dropped after the message: $(rts_events)"
  last_dropped_ns=$dropped_ns
  sleep 0.3  # the monitor's last chunk
  spans=$(sounds | awk -v a="$raised_ns" -v b="$dropped_ns" '$2 > a && $1 < b + 1000000000')
  [ -n "$spans" ] || fail "$1: PTT was up $(( (dropped_ns - raised_ns) / 1000000 )) ms and nothing was heard"
  first_ns=$(head -n 1 <<<"$spans" | cut -d' ' -f1)
  last_ns=$(tail -n 1 <<<"$spans" | cut -d' ' -f2)
  heard_ms=$(( (last_ns - first_ns) / 1000000 ))
  echo "$1: PTT up $(( (first_ns - raised_ns) / 1000000 )) ms before the sound, down $(( (dropped_ns - last_ns) / 1000000 )) ms after it; heard $heard_ms ms of $length_ms in $(grep -c '' <<<"$spans") piece(s)"
  [ "$raised_ns" -lt "$first_ns" ] || fail "$1: the sound started before PTT"
  [ $(( first_ns - raised_ns )) -le 250000000 ] || fail "$1: PTT was up more than 250 ms before the sound"
  [ "$dropped_ns" -gt "$last_ns" ] || fail "$1: PTT dropped before the sound ended"
  [ $(( dropped_ns - last_ns )) -le 100000000 ] || fail "$1: PTT stayed up more than 100 ms after the sound"
  [ "$heard_ms" -ge $(( length_ms - 50 )) ] || fail "$1: only $heard_ms ms of the $length_ms ms message were heard"
  [ "$(grep -c '' <<<"$spans")" -eq 1 ] || fail "$1: the sound broke up: $spans"
}

start_voice_app "$pulse_server"
start_logging n0cub
focus_main_window
# The start-up read "wave2.txt" without opening the port; the message's pipeline is built ahead.
sleep 1.5
[ -z "$(rts_events)" ] || fail "PTT was keyed before any key"
ls -l /proc/"$app_pid"/fd 2>/dev/null | grep -q -- "$pty_name" && fail "the PTT port was opened at start-up"
pass "the start-up reads wave2.txt and leaves the PTT port closed"

message_on_the_air "first F1"
pass "the first F1 of the run keys RTS for just the sound"
sleep 0.5
message_on_the_air "second F1"
pass "F1 again keys RTS for just the sound, and the sound is whole"

# Esc while the message plays stops it and drops PTT at once.
xdotool key F1
for _ in $(seq 1 50); do [ "$(raises)" -ge 3 ] && break; sleep 0.05; done
[ "$(raises)" -ge 3 ] || fail "the third F1 did not key RTS; windows: $(windows_shown)"
sleep 0.5
xdotool key Escape
sleep 0.3
last=$(rts_events | tail -n 1)
[[ "$last" == *TIOCMBIC ]] || fail "Esc left RTS up: $(rts_events)"
raised_ns=$(rts_events | awk '$2 == "TIOCMBIS" { r = $1 } END { print r }')
[ $(( (${last%% *} - raised_ns) / 1000000 )) -lt $(( length_ms - 200 )) ] || fail "Esc did not cut the message short"
sleep 0.5
sound_end=$(sounds | tail -n 1 | cut -d' ' -f2)
[ "$sound_end" -le $(( ${last%% *} + 100000000 )) ] || fail "the sound went on after Esc dropped PTT"
pass "Esc stops the playing message and drops PTT"

message_on_the_air "F1 after Esc"
pass "a message after one cut short keys RTS for just the sound"

# No key since: F1 comes again "Loop (Sec)" after the end, never sooner, at most 50 ms later.
repeat_raise() { rts_events | awk -v d="$last_dropped_ns" '$2 == "TIOCMBIS" && $1 > d { print $1; exit }'; }
for _ in $(seq 1 60); do [ -n "$(repeat_raise)" ] && break; sleep 0.1; done
[ -n "$(repeat_raise)" ] || fail "F1 did not repeat; windows: $(windows_shown)"
raised_ns=$(repeat_raise)
dropped_ns=$last_dropped_ns
gap_ms=$(( (raised_ns - dropped_ns) / 1000000 ))
echo "repeat: PTT up again $gap_ms ms after it dropped, for a $loop_s s loop"
[ "$gap_ms" -ge $(( loop_s * 1000 )) ] || fail "the repeat came early: $gap_ms ms"
[ "$gap_ms" -le $(( loop_s * 1000 + 50 )) ] || fail "the repeat came late: $gap_ms ms"
sleep 0.5
# Loaded ahead of its time, the repeat's sound still follows PTT within 250 ms.
sound_start=$(sounds | awk -v a="$raised_ns" '$2 > a { print $1; exit }')
[ -n "$sound_start" ] || fail "the repeat keyed PTT and nothing was heard"
echo "repeat: PTT up $(( (sound_start - raised_ns) / 1000000 )) ms before the sound"
[ "$sound_start" -gt "$raised_ns" ] && [ $(( sound_start - raised_ns )) -le 250000000 ] ||
  fail "the repeat's PTT was not up 0 to 250 ms before its sound"
xdotool key Escape
sleep 0.3
pass "the repeat's gap is the loop time, to within 50 ms"

stop_voice_app
pass "the program ends with PTT down"

# No sound server at all (and no desktop's server reached): F1 keys nothing and says why.
raised_before=$(raises)
start_voice_app "unix:/nonexistent"
start_logging n0cub
focus_main_window
sleep 1
xdotool key F1
wait_window "No sound output" 10
xdotool key Return
sleep 0.5
focus_main_window
xdotool key F1
sleep 1.5
xdotool search --onlyvisible --name "^No sound output\$" >/dev/null 2>&1 && fail "the message box came a second time"
[ "$(raises)" -eq "$raised_before" ] || fail "PTT was keyed without a sound output: $(rts_events)"
stop_voice_app
pass "without a sound output F1 keys nothing, and the message box comes once"

echo "voice e2e: $passed passed, 0 failed"
