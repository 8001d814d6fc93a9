# Shared by the end-to-end scripts (sourced, not run): a working folder seeded with the shipped
# data files, a private X display with a window manager that leaves every key to the program,
# and the helpers that wait for windows. The sourcing script sets bin and src first; it may add
# the PIDs of its own helper processes to extra_pids so the cleanup ends them, and files worth
# reading after a failure (a recorder's log, say) to extra_logs.

work=$(mktemp -d)
xvfb_pid=""; wm_pid=""; app_pid=""
extra_pids=()
extra_logs=()
passed=0
# Only the processes this run started, by the PIDs it was given: another run's display or
# window manager on the same machine is left alone.
# A process may still write into the working folder as it ends (a simulator's last state), so
# each is given up to 5 s to end before the folder goes; a zombie has ended.
running() { local s; s=$(ps -o stat= -p "$1" 2>/dev/null) && [[ "$s" != Z* ]]; }
cleanup() {
  local pid ended=()
  for pid in "$app_pid" "${extra_pids[@]}" "$wm_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && ended+=("$pid")
  done
  for pid in "${ended[@]}"; do
    for _ in $(seq 1 50); do running "$pid" || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "E2E FAIL: $*" >&2
  cat "$work/app.out" >&2 2>/dev/null || true
  [ -f "$work/log.txt" ] && cat -A "$work/log.txt" >&2
  for f in "${extra_logs[@]}"; do cat "$f" >&2 2>/dev/null || true; done
  echo "$(basename "$0"): $passed passed, 1 failed" >&2
  exit 1
}
pass() { passed=$((passed + 1)); echo "ok $passed - $1"; }

cp "$src"/data/* "$work/"
export HOME="$work/home"
mkdir -p "$HOME"
unset USERPROFILE APPDATA QT_QPA_PLATFORM

# Xvfb picks a free display and writes its number once it is ready. X_SCREEN_SIZE sets the screen
# (1280x800 unless told); X_NO_WM=1 runs without a window manager, so windows keep the geometry
# the program gives them, and keeps the server's root properties when the last client leaves.
noreset=()
[ "${X_NO_WM:-0}" = 1 ] && noreset=(-noreset)
Xvfb -displayfd 5 -screen 0 "${X_SCREEN_SIZE:-1280x800}x24" -nolisten tcp "${noreset[@]}" 5>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 200); do
  grep -q '^[0-9]' "$work/display" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
  sleep 0.1
done
display=$(head -n 1 "$work/display")
[ -n "$display" ] || fail "Xvfb gave no display"
export DISPLAY=":$display"
# An empty key configuration: matchbox would otherwise take Alt+C, Alt+N and other menu keys.
: >"$work/matchbox-keys"
if [ "${X_NO_WM:-0}" != 1 ]; then
  matchbox-window-manager -use_titlebar no -kbdconfig "$work/matchbox-keys" >/dev/null 2>&1 &
  wm_pid=$!
fi

start_app() {
  (cd "$work" && exec "$bin") >"$work/app.out" 2>&1 &
  app_pid=$!
}
# The main window's caption: the product and version, a run of blanks and the web address.
main_caption="Brantel's Cubwave Log 1\\.8 +https://cubwave-log\\.example\\.org"

wait_window() {  # name, seconds
  for _ in $(seq 1 $(( $2 * 10 ))); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "program ended while waiting for '$1'"
    sleep 0.1
  done
  fail "no window '$1'"
}
wait_end() {  # seconds; true when the program has ended
  for _ in $(seq 1 $(( $1 * 10 ))); do
    kill -0 "$app_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
log_lines() { local n; n=$(grep -c '' "$work/log.txt" 2>/dev/null || true); echo "${n:-0}"; }
wait_log_lines() {  # count
  for _ in $(seq 1 150); do
    [ "$(log_lines)" -ge "$1" ] && return 0
    sleep 0.1
  done
  fail "log.txt does not hold $1 lines"
}
# The keyboard focus to the main window, whichever window had it.
focus_main_window() {
  local wid
  wid=$(xdotool search --onlyvisible --name "^$main_caption\$" | head -n 1)
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  sleep 0.3
}
# Esc clears the entry line and puts the focus in the call field, wherever it was.
focus_call_field() {
  focus_main_window
  xdotool key Escape
  sleep 0.2
}
# Waits up to 15 s for a command to succeed; fails with the description if it never does.
wait_for() {  # description, command...
  local what=$1; shift
  for _ in $(seq 1 150); do
    "$@" && return 0
    sleep 0.1
  done
  fail "$what"
}
type_line() { xdotool type --delay 40 "$1"; xdotool key Return; }
# A contact line with the radio's values: call, age, other, location, mode, band, name, frequency.
radio_contact_re() {
  printf '^"%s","%s","%s","","%s","[0-9]{4}/[0-9]{2}/[0-9]{2}","[0-9]{2}:[0-9]{2}:[0-9]{2}","%s","%s","%s","%s"\r$' \
    "$@"
}
# Types a contact into the call field and checks that it became line N of log.txt.
log_contact() {  # line-number typed-text line-pattern what-went-wrong
  local line
  focus_call_field
  type_line "$2"
  wait_log_lines "$1"
  line=$(sed -n "${1}p" "$work/log.txt")
  [[ "$line" =~ $3 ]] || fail "$4: $line"
}
# Answers the start-up's station window (own call, then Done) and "Open existing log?" (Yes).
start_logging() {  # own call
  wait_window " Amateur Station I.D." 20
  sleep 0.3
  xdotool type --delay 40 "$1"
  xdotool key Return
  wait_window "Open existing log\\?" 20
  xdotool key Return
  wait_window "$main_caption" 10
}

# A simulated Kenwood radio on a pseudo-terminal, its knobs on a pipe held open on descriptor 7,
# stored as the rig on port 3 and polled every 100 ms. Sets `device` and `sim_pid`; extra
# arguments go to the simulator.
start_simulated_kenwood() {  # simulator-binary [options]
  local sim=$1
  shift
  mkfifo "$work/knobs"
  "$sim" kenwood "$@" <"$work/knobs" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  extra_pids+=("$sim_pid")
  extra_logs+=("$work/sim.err")
  exec 7>"$work/knobs"
  wait_for "the simulator gave no device" grep -q '^/' "$work/sim.out"
  device=$(head -n 1 "$work/sim.out")
  printf '3=%s\n' "$device" >"$work/serialports.txt"
  printf '"4800 "\r\n"N"\r\n"8"\r\n"2"\r\n"MD;"\r\n"FA;"\r\n"4800,N,8,2"\r\n3\r\n"N"\r\n"F"\r\n"Kenwood"\r\n0\r\n1\r\n1\r\n' \
    >"$work/RigCntrl.txt"
}
