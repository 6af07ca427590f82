#!/usr/bin/env bash
# The panel connected to the relay simulator: installs what is needed, builds, starts qav510-sim on loopback
# (replies paced as a gateway in front of a 19200 bit/s line would pace them, the motor running, an alarm to
# look at) and the panel with a demo program root whose settings connect to it at start.
#
# Environment: QAV510_HOME (the demo program root, default build/demo-home), QAV510_DEMO_PORT (5020).
# While it runs, the simulator takes commands on its control socket, for example:
#   socat - UNIX-CONNECT:build/demo-home/qav510-sim.sock      (then: help, state, trip 0 520, reset ...)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
No display to show the panel on. Run it under a virtual X server:
  xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/demo.sh
(xvfb-run comes with the Debian package xvfb, which scripts/setup-debian.sh installs.)
MSG
  exit 1
fi

bash scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target CPL_QAV510 qav510-sim qav510-profile

home=${QAV510_HOME:-$PWD/build/demo-home}
port=${QAV510_DEMO_PORT:-5020}
mkdir -p "$home"
build/app/settings/qav510-profile "$home/CPL_QAV510.INI" --tcp "127.0.0.1:$port" --autoconnect

build/sim/qav510-sim --tcp "127.0.0.1:$port" --baud 19200 --param 151=50 --param 200=1 --running \
  --control "$home/qav510-sim.sock" </dev/null >"$home/qav510-sim.log" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  grep -q '^ready' "$home/qav510-sim.log" && break
  kill -0 "$sim" 2>/dev/null || { cat "$home/qav510-sim.log" >&2; exit 1; }
  sleep 0.1
done
echo "qav510-sim: $(head -n 1 "$home/qav510-sim.log")"
echo "alarm 12 380" | socat - "UNIX-CONNECT:$home/qav510-sim.sock" >/dev/null || true

QAV510_HOME="$home" build/app/panel/CPL_QAV510 "$@"
