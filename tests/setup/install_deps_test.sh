#!/usr/bin/env bash
# Runs tools/install-deps.sh against stand-ins for dpkg-query, apt-get, id and npm, in a PATH
# that holds nothing else: which packages it asks for, whether it runs npm, and what it says
# when it cannot install. Nothing is installed.
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
script="$src/tools/install-deps.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
fail() { echo "FAIL: $*" >&2; echo "$(basename "$0"): $passed passed, 1 failed" >&2; exit 1; }
pass() { passed=$((passed + 1)); echo "ok $passed - $1"; }

# A bin folder with the few real tools the script may use and the stand-ins; no sudo in it.
bin="$work/bin"
mkdir -p "$bin"
for tool in bash env grep dirname cat sed tr; do
  real=$(command -v "$tool") || fail "$tool is not installed"
  ln -s "$real" "$bin/$tool"
done
cat >"$bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
# Nothing is installed.
exit 1
STUB
cat >"$bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$CALLS/apt-get"
STUB
cat >"$bin/npm" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$CALLS/npm"
STUB
cat >"$bin/id" <<'STUB'
#!/usr/bin/env bash
echo "$FAKE_UID"
STUB
chmod +x "$bin"/*

# A copy of the tree's scripts, so npm's peer folder can be faked without touching the source.
tree="$work/tree"
mkdir -p "$tree/tools" "$tree/tests/export/adif-peer" "$tree/tests/spots/telnet-peer"
cp "$script" "$tree/tools/install-deps.sh"

run() {  # run UID ARGS...: the script's output in $work/out, its status in $status
  local uid=$1
  shift
  rm -rf "$work/calls" && mkdir -p "$work/calls"
  env -i PATH="$bin" HOME="$work" CALLS="$work/calls" FAKE_UID="$uid" \
    bash "$tree/tools/install-deps.sh" "$@" >"$work/out" 2>&1
  status=$?
}
installed() { grep -h '^install' "$work/calls/apt-get" 2>/dev/null; }

# The program alone: what the build and the running program need, and nothing for the tests.
run 0
[ "$status" -eq 0 ] || fail "install-deps.sh exited $status: $(cat "$work/out")"
for p in cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-multimedia-dev gstreamer1.0-plugins-good \
         fonts-liberation; do
  installed | tr ' ' '\n' | grep -qx -- "$p" || fail "the program install lacks $p: $(installed)"
done
for p in libgtest-dev libgmock-dev libbenchmark-dev libcw-dev xvfb xdotool libhamlib-utils direwolf hamradio-files \
         nodejs npm ccache espeak-ng; do
  installed | tr ' ' '\n' | grep -qx -- "$p" && fail "the program install asks for the test package $p"
done
[ -e "$work/calls/npm" ] && fail "the program install ran npm: $(cat "$work/calls/npm")"
pass "without --tests only the program's packages are installed, and npm never runs"

# The tests: everything, with the ADIF reader's modules from the lock file.
run 0 --tests
[ "$status" -eq 0 ] || fail "install-deps.sh --tests exited $status: $(cat "$work/out")"
for p in qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev libcw-dev xvfb libhamlib-utils direwolf ccache; do
  installed | tr ' ' '\n' | grep -qx -- "$p" || fail "the test install lacks $p: $(installed)"
done
[ "$(grep -c '^ci ' "$work/calls/npm" 2>/dev/null)" = 2 ] || fail "the test install did not run npm ci for both peers"
pass "--tests adds the test packages, ccache among them, and npm ci"

run 0 --frobnicate
[ "$status" -ne 0 ] || fail "an unknown argument was accepted"
[ -e "$work/calls/apt-get" ] && fail "an unknown argument still installed"
pass "an unknown argument stops before installing"

# Not root, and no sudo on the machine: say what to do instead of failing inside the shell.
run 1000
[ "$status" -ne 0 ] || fail "a user without sudo got status 0"
grep -q 'command not found' "$work/out" && fail "the shell's own error came out: $(cat "$work/out")"
grep -qi 'as root' "$work/out" || fail "no advice to run it as root: $(cat "$work/out")"
grep -q 'sudo' "$work/out" || fail "no mention of installing sudo: $(cat "$work/out")"
grep -q 'qt6-base-dev' "$work/out" || fail "the missing packages are not named: $(cat "$work/out")"
[ -e "$work/calls/apt-get" ] && fail "apt-get ran without root"
pass "without root or sudo it names the packages and says to run it as root or install sudo"

# The two commands ask for what each needs.
grep -Eq '^"\$here/tools/install-deps.sh"$' "$src/run.sh" || fail "run.sh does not install the program's packages alone"
grep -Eq '^\./tools/install-deps.sh --tests$' "$src/test.sh" || fail "test.sh does not install the test packages"
pass "run.sh installs the program's packages, test.sh the tests' too"

echo "$(basename "$0"): $passed passed, 0 failed"
