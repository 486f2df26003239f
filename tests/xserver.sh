#!/usr/bin/env bash
# Runs a command on an X server of its own. Xvfb picks a free display itself and tells it
# (-displayfd), so servers started together, by this suite or another one, never take the
# same display as "xvfb-run -a" can. -noreset: by default the server resets when its last
# client goes, and a program started again at that moment (the recovery session kills the
# editor and starts it anew) finds no display to connect to.
set -euo pipefail
folder="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"${folder}/display" 2>"${folder}/log" &
server=$!
trap 'kill "${server}" 2>/dev/null || true; wait "${server}" 2>/dev/null || true; rm -rf "${folder}"' EXIT
deadline=$((SECONDS + 60))
until [ -s "${folder}/display" ]; do
    if ! kill -0 "${server}" 2>/dev/null || ((SECONDS >= deadline)); then
        echo "xserver.sh: Xvfb did not start:" >&2
        cat "${folder}/log" >&2
        exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(head -n 1 "${folder}/display")"
export DISPLAY
unset XAUTHORITY
"$@"
