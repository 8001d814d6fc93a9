#!/usr/bin/env bash
# The exports from the real window under Xvfb: a seeded log of 36 contacts is exported to ADIF
# through the File menu and read back by an independent ADIF reader, a summary file is written
# through its window, and the rate graph opens and switches background. E2E_SCREENS=<folder>
# keeps screenshots of the summary window and the graph on both backgrounds.
set -euo pipefail
bin=$(readlink -f "$1")
src=$(cd "$(dirname "$0")/../.." && pwd)

# shellcheck source=x_session.sh
. "$src/tests/e2e/x_session.sh"
data="$HOME/Documents/Brantel Software/Cubwave"

# 36 contacts, one every five minutes from 14:00 UTC, CW and phone on three bands, as the
# program writes them.
: >"$work/log.txt"
calls=(W1AW K2ABC N3XYZ W4DEF K5GHI N6JKL W7MNO K8PQR N9STU W0VWX VE3AAA KH6BB)
states=(CT NY PA FL TX CA OR MI IL CO ON HI)
for i in $(seq 0 35); do
  c=${calls[$((i % 12))]}; s=${states[$((i % 12))]}
  band=$([ $((i % 3)) -eq 0 ] && echo 20 || { [ $((i % 3)) -eq 1 ] && echo 40 || echo 15; })
  mode=$([ $((i % 2)) -eq 0 ] && echo CW || echo PH)
  t=$((14 * 60 + i * 5))
  printf '"%s","%d","Blue","","%s","2026/06/13","%02d:%02d:00","%s","%s","OP%d",""\r\n' \
    "$c$i" $((10 + i % 8)) "$s" $((t / 60)) $((t % 60)) "$mode" "$band" "$i" >>"$work/log.txt"
done
cp "$work/log.txt" "$work/seeded.txt"

wait_gone() {  # title regex, seconds
  for _ in $(seq 1 $(( $2 * 10 ))); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window '$1' did not close"
}
screenshot() {  # title regex, file name
  [ -n "${E2E_SCREENS:-}" ] && command -v import >/dev/null 2>&1 || return 0
  local wid
  wid=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
  mkdir -p "$E2E_SCREENS"
  import -window "$wid" "$E2E_SCREENS/$2" 2>/dev/null || true
}
menu() {  # the File menu's accelerator key
  focus_main_window
  xdotool key "$@"
}

start_app
start_logging n0cub                                  # Yes: reload the seeded log
sleep 0.5
pass "the program starts on a seeded log of 36 contacts"

# File > Export ADIF File: the power box (default 100), the save dialog with "Cubwave.adi" in
# the data folder, then the success message.
menu alt+f; sleep 0.3; xdotool key a
wait_window "Please enter your transmitter output power\\." 10
xdotool key Return
wait_window "Export ADIF File" 10
sleep 0.5
xdotool key Return
wait_window "File Written Successfully\\." 10
xdotool key Return
wait_gone "File Written Successfully\\." 5
adi="$data/Cubwave.adi"
[ -f "$adi" ] || fail "no Cubwave.adi in the data folder"
pass "File > Export ADIF File writes Cubwave.adi in the data folder"

# The independent reader finds every contact with its call, band, mode, date, time and power,
# the station's call as typed in the station window, the age, and the state or province; the
# header names the ADIF version, the program and the UTC time of writing.
peer="$src/tests/export/adif-peer"
if [ -d "$peer/node_modules/adif-parser-ts" ]; then
  node "$peer/read-adif.js" "$adi" >"$work/adif.json" || fail "the ADIF reader refused the export"
  node -e '
    const fs = require("fs");
    const adif = JSON.parse(fs.readFileSync(process.argv[1], "utf8"));
    const lines = fs.readFileSync(process.argv[2], "latin1").split("\r\n").filter(l => l.length);
    const bands = {"20": "20M", "40": "40M", "15": "15M"};
    const h = adif.header || {};
    if (h.adif_ver !== "3.1.4" || h.programid !== "Cubwave Log" || h.programversion !== "1.8")
      throw new Error(`header fields ${JSON.stringify(h)}`);
    const m = /^(\d{4})(\d{2})(\d{2}) (\d{2})(\d{2})(\d{2})$/.exec(h.created_timestamp || "");
    if (!m || Math.abs(Date.UTC(m[1], m[2] - 1, m[3], m[4], m[5], m[6]) - Date.now()) > 10 * 60 * 1000)
      throw new Error(`CREATED_TIMESTAMP "${h.created_timestamp}" is not the UTC time of the export`);
    if (adif.records.length !== lines.length)
      throw new Error(`${adif.records.length} records for ${lines.length} contacts`);
    lines.forEach((line, i) => {
      const f = line.slice(1, -1).split("\",\"");
      const r = adif.records[i];
      const want = {call: f[0], band: bands[f[8]], mode: f[7] === "CW" ? "CW" : "SSB",
                    qso_date: f[5].replace(/\//g, ""), time_on: f[6].slice(0, 5).replace(":", ""),
                    tx_pwr: "100", station_callsign: "N0CUB", operator: "N0CUB", age: f[1],
                    state: f[4]};
      for (const [k, v] of Object.entries(want))
        if ((r[k] || "").toUpperCase() !== v.toUpperCase())
          throw new Error(`record ${i + 1}: ${k} is "${r[k]}", expected "${v}"`);
    });' "$work/adif.json" "$work/seeded.txt" || fail "the ADIF export does not match the log"
  pass "an independent ADIF reader reads back every contact of the log, with station, age and state"
else
  echo "skipped: adif-parser-ts is not installed (tools/install-deps.sh installs it)"
fi

# File > Write Summary File: the summary window, the file "N0CUB.log" in the data folder with a
# QSO: line per contact, the two messages and "Done".
menu alt+f; sleep 0.3; xdotool key w
wait_window "Summary Sheet Information" 10
sleep 0.5
xdotool type --delay 20 "Pat Operator"
screenshot "Summary Sheet Information" "Form2.png"
xdotool key Tab Tab Tab Tab Tab                      # on to "Write Summary File"
xdotool key space
wait_window "Write Summary File" 10
sleep 0.5
xdotool key Return
wait_window "File Written Successfully\\." 10
xdotool key Return
wait_window "  Thanks!" 10
xdotool key Return
sleep 0.3
xdotool key space                                    # "Done" has the focus
wait_gone "Summary Sheet Information" 5
summary="$data/N0CUB.log"
[ -f "$summary" ] || fail "no N0CUB.log in the data folder"
[ "$(grep -c '^QSO:' "$summary")" -eq 36 ] || fail "the summary does not hold 36 QSO: lines"
grep -q '^END-OF-LOG:' "$summary" || fail "the summary has no END-OF-LOG: line"
grep -q 'Pat Operator' "$summary" || fail "the summary does not name the operator typed"
pass "File > Write Summary File writes a QSO: line per contact"

# Graph: the rate graph opens with its caption and switches background.
menu alt+g
graph=" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"
wait_window "$(printf '%s' "$graph" | sed 's/[](){}.*+?|^$[]/\\&/g')" 10
sleep 0.5
screenshot "$(printf '%s' "$graph" | sed 's/[](){}.*+?|^$[]/\\&/g')" "GraphQSO-opened.png"
xdotool key space                                    # Command1: the other background
sleep 1
screenshot "$(printf '%s' "$graph" | sed 's/[](){}.*+?|^$[]/\\&/g')" "GraphQSO-switched.png"
xdotool key Escape
wait_gone "$(printf '%s' "$graph" | sed 's/[](){}.*+?|^$[]/\\&/g')" 5
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the graph"
cmp -s "$work/log.txt" "$work/seeded.txt" || fail "the exports changed the log"
pass "the graph opens and closes; the exports leave the log as it was"

kill -TERM "$app_pid"
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
echo "export e2e: $passed passed, 0 failed"
