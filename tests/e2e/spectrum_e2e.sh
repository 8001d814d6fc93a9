#!/usr/bin/env bash
# The HF spectrum map in the real program under Xvfb: spots from a scripted cluster on
# 127.0.0.1, Ctrl+B opens the map over the whole screen, a right click on the 20 m spot tunes a
# simulated Kenwood on a pseudo-terminal and puts the call into the entry line, and the contact
# then logged carries the spotted call and the radio's new band and frequency. With
# CUBWAVE_E2E_SCREENS set to a folder, the picture of the map is saved there as spectrum.png.
#   spectrum_e2e.sh CUBWAVE_BINARY SCRIPTED_CLUSTER RIG_SIMULATOR X_SCREENSHOT
set -euo pipefail
bin=$(readlink -f "$1")
cluster_bin=$(readlink -f "$2")
sim=$(readlink -f "$3")
shot_bin=$(readlink -f "$4")
src=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"

# The radio, on 40 m so that a tune to the 20 m spot shows; its knobs come from a pipe.
start_simulated_kenwood "$sim"
echo "freq 7160000" >&7
wait_for "the simulator did not take the frequency" grep -q '^ok$' "$work/sim.out"
awk 'NR == 16 { print "\"Kenwood\"\r"; next } { print }' "$src/data/cubwavepref.txt" >"$work/cubwavepref.txt"

# The cluster: after the login it sends spots on 20 m (K1ABC), 15 m (JA1ZZ) and 80 m (EA8XY).
"$cluster_bin" "$work" >"$work/cluster.out" 2>&1 &
extra_pids+=("$!")
extra_logs+=("$work/cluster.out")
wait_for "the scripted cluster did not start" test -s "$work/cluster.port"
port=$(head -n 1 "$work/cluster.port")
printf '"9600"\r\n"N"\r\n"8"\r\n"1"\r\n1\r\n"N"\r\n"Telnet"\r\n0\r\n3\r\n0\r\n#FALSE#\r\n"03"\r\n"%s"\r\n"127.0.0.1"\r\n' \
  "$port" >"$work/PackSpot.txt"

start_app
start_logging "n0cub"
wait_for "the stored cluster was not connected" test -s "$work/cluster.connections"
focus_main_window
xdotool key ctrl+d
wait_window " DX Spotting Setup" 10
sleep 0.5
xdotool type --delay 40 "n0cub"
xdotool key Return
wait_for "the login did not reach the cluster" grep -q -a 'n0cub' "$work/cluster.received"
sleep 1
xdotool key alt+d
sleep 0.5

focus_main_window
xdotool key ctrl+b
wait_window " HF Spectrum Map" 10
sleep 1
wid=$(xdotool search --onlyvisible --name "^ HF Spectrum Map\$" | head -n 1)
read -r sw sh < <(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }') || true
[ -n "${sw:-}" ] || { sw=${X_SCREEN_SIZE:-1280x800}; sh=${sw#*x}; sw=${sw%x*}; }
info=$(xwininfo -id "$wid")
x=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$info")
y=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$info")
w=$(awk '/Width:/ { print $2 }' <<<"$info")
h=$(awk '/Height:/ { print $2 }' <<<"$info")
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$sw" ] && [ $((y + h)) -le "$sh" ] \
  || fail "the map at ${x},${y} ${w}x${h} is not inside the ${sw}x${sh} screen"
[ "$w" -ge $((sw * 9 / 10)) ] && [ "$h" -ge $((sh * 8 / 10)) ] || fail "the map (${w}x${h}) does not fill the screen"
pass "Ctrl+B opens the map inside the screen, filling it"

"$shot_bin" "$work/spectrum.png" || fail "no picture of the screen"
if [ -n "${CUBWAVE_E2E_SCREENS:-}" ]; then
  mkdir -p "$CUBWAVE_E2E_SCREENS"
  cp "$work/spectrum.png" "$CUBWAVE_E2E_SCREENS/spectrum.png"
fi
"$shot_bin" "$work/spectrum.ppm" || fail "no picture of the screen to read"
# Fresh spots are light yellow (255, 255, 128) on the navy panel; smoothing keeps the blue at 128.
# Three spots in three rows: 80 m above 20 m above 15 m, so the 20 m spot is the middle band of ink.
read -r cx cy < <(python3 - "$work/spectrum.ppm" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
fields, at = [], 0
while len(fields) < 4:  # "P6", width, height, maximum
    while data[at:at + 1].isspace():
        at += 1
    end = at
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[at:end])
    at = end
at += 1
width, height = int(fields[1]), int(fields[2])
rows = {}
for y in range(height):
    line = data[at + 3 * width * y: at + 3 * width * (y + 1)]
    for x in range(width):
        r, g, b = line[3 * x], line[3 * x + 1], line[3 * x + 2]
        if r >= 200 and g >= 200 and 120 <= b <= 136:
            rows.setdefault(y, []).append(x)
bands, last = [], None
for y in sorted(rows):
    if last is None or y - last > 8:
        bands.append([])
    bands[-1] += [(x, y) for x in rows[y]]
    last = y
if len(bands) != 3:
    print("bands", len(bands))
else:
    middle = bands[1]
    print(sum(p[0] for p in middle) // len(middle), sum(p[1] for p in middle) // len(middle))
PY
)
[ -n "${cx:-}" ] || fail "the picture of the map could not be read"
[ "$cx" != "bands" ] || fail "the fresh spots do not lie in three rows ($cy bands of ink)"
pass "the three spots show light yellow on the navy panel, each in its own row"

xdotool mousemove "$cx" "$cy"
sleep 0.3
xdotool click 3
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name "^ HF Spectrum Map\$" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "^ HF Spectrum Map\$" >/dev/null 2>&1 && fail "a right click did not close the map"
sleep 1.5
# The call is in the call field with the focus: Space moves on to the name.
type_line " tom 12 ct blue"
wait_log_lines 1
line=$(sed -n 1p "$work/log.txt")
[[ "$line" =~ ^\"K1ABC\",\"12\",\"Blue\",\"\",\"CT\",.*,\"20\",\"TOM\",\"14\.025\" ]] \
  || fail "the contact did not take the spotted call and the tuned radio's 20 m: $line"
pass "a right click tunes the radio to the spot and the logged contact carries its call and frequency"

kill -TERM "$app_pid"
wait_end 5 || fail "the program did not end"
app_pid=""
! grep -q '^unknown' "$work/sim.err" || fail "the program sent the radio commands it does not know"
echo "$(basename "$0"): $passed passed, 0 failed"
