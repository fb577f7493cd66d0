#!/usr/bin/env bash
# Installs what is needed, builds, and starts Kestrin T.R.X.
# With a card interface configured (build/bin/kestrin.ini naming a device, saved
# from the Setup page), the program starts on it. Otherwise the demo starts: the
# card simulator on a pseudo-terminal and the program in a folder of its own
# (build/demo) whose settings name the simulator and start the link at once.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build

if grep -qiE '^\s*COM\s*=\s*[^[:space:]]' build/bin/kestrin.ini 2>/dev/null \
   && ! grep -qiE '^\s*COM\s*=\s*NA\s*$' build/bin/kestrin.ini; then
  exec build/bin/kestrin "$@"
fi

demo="$PWD/build/demo"
mkdir -p "$demo"
cp build/bin/kestrin build/bin/*.scr build/bin/*.dat build/bin/*.card "$demo/"
build/bin/kestrin-cardsim --profile "$demo/sample.card" --link "$demo/card" > "$demo/cardsim.out" 2> "$demo/cardsim.log" &
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$demo/card" ] && break; sleep 0.1; done

printf '[SYSTEM]\nCOM=%s\nBDELAY=500\nCDELAY=20000\nAUTOINIT=1\n' "$demo/card" > "$demo/kestrin.ini"
echo "Card simulator on $(head -n1 "$demo/cardsim.out") (log: $demo/cardsim.log)"
launcher=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under Xvfb (nothing will be visible)."
  launcher=(xvfb-run -a)
fi
# The program runs in a process group of its own (with Xvfb, when there is one):
# stopping this script (SIGTERM, Ctrl-C, or its terminal closing: SIGHUP) ends
# that group, and leaving the script ends the simulator.
program=""
trap '[ -z "$program" ] || kill -- -"$program" 2>/dev/null; exit 1' TERM INT HUP
setsid "${launcher[@]}" "$demo/kestrin" "$@" &
program=$!
wait "$program"
