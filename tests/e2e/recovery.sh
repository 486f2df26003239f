#!/usr/bin/env bash
# A crash and its recovery with the built editor, by keystrokes alone, on the X display it is
# given (xvfb-run provides one): saves a page, types more into it, waits for the recovery copy,
# kills the program with SIGKILL, starts it again, recovers the copy and saves it in place, and
# compares the file's bytes with what was typed. Then a clean exit leaves no copy behind.
#
#   recovery.sh <zendral program>
set -euo pipefail

PROGRAM="$(realpath "$1")"
WORK="$(mktemp -d)"
PAGE="${WORK}/pagina.html"
LOG="${WORK}/zendral.log"
PID=""

export HOME="${WORK}/home"
export XDG_RUNTIME_DIR="${WORK}/run"
export XDG_STATE_HOME="${WORK}/state"
COPIES="${XDG_STATE_HOME}/zendral"
mkdir -p "${HOME}" "${XDG_RUNTIME_DIR}"
chmod 700 "${XDG_RUNTIME_DIR}"
unset QT_QPA_PLATFORM

finish() {
    if [ -n "${PID}" ] && kill -0 "${PID}" 2>/dev/null; then
        kill "${PID}" 2>/dev/null || true
        wait "${PID}" 2>/dev/null || true
    fi
    rm -rf "${WORK}"
}
trap finish EXIT

fail() {
    echo "recovery: FAILED: $*" >&2
    echo "recovery: windows on screen:" >&2
    xdotool search --onlyvisible --name '.' getwindowname %@ >&2 2>/dev/null || true
    echo "recovery: copies: $(ls -A "${COPIES}" 2>&1)" >&2
    echo "recovery: the program's output:" >&2
    cat "${LOG}" >&2 || true
    exit 1
}

# Polls a condition every tenth of a second for up to 30 seconds.
wait_until() {
    local what="$1"
    shift
    local tries
    for ((tries = 0; tries < 300; tries++)); do
        if "$@" >/dev/null 2>&1; then
            return 0
        fi
        kill -0 "${PID}" 2>/dev/null || fail "the program ended while waiting for ${what}"
        sleep 0.1
    done
    fail "timed out waiting for ${what}"
}

window_named() {
    xdotool search --onlyvisible --name "$1"
}

# True once the keyboard is in a window titled to match; until then puts it there, as a
# click on the window would (there is no window manager to do it).
keyboard_in() {
    [[ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" =~ $1 ]] && return 0
    xdotool windowfocus "$(window_named "$1" | head -n 1)"
    return 1
}

wait_for_window() {
    wait_until "a window titled \"$1\"" window_named "$1"
    wait_until "the keyboard in \"$1\"" keyboard_in "$1"
}

keys() {
    xdotool key --delay 30 "$@"
}

type_text() {
    xdotool type --delay 30 "$1"
}

start() {
    "${PROGRAM}" "$@" >>"${LOG}" 2>&1 &
    PID=$!
}

copy_holds() {
    grep -q -- "$1" "${COPIES}"/*.recovery
}

no_copy_left() {
    ! ls "${COPIES}"/*.recovery
}

expect_page() {
    printf '%b' "$1" >"${WORK}/expected"
    wait_until "the page saved as typed" cmp -s "${WORK}/expected" "${PAGE}"
}

# The first run: the page is saved under a name, then typed on.
printf '<html>\r\n</html>\r\n' >"${PAGE}"
start "${PAGE}"
wait_for_window "^Zendral - \\[${PAGE}\\]$"
keys ctrl+End
type_text 'Hola <b>mundo</b>'
keys Return
type_text 'fin'
wait_until "the recovery copy" copy_holds 'fin'
kill -KILL "${PID}"
wait "${PID}" 2>/dev/null || true

# The second run offers the copy; Sí recovers it under its file name, unsaved, and Save writes
# it in place.
start
wait_for_window 'Quieres recuperarla'
keys s
wait_for_window "^Zendral - \\[${PAGE}\\]$"
keys ctrl+s
expect_page '<html>\r\n</html>\r\nHola <b>mundo</b>\r\nfin\r\n'
wait_until "the copy removed by Save" no_copy_left

# Typed again and ended cleanly (Archivo > Salir, declining to save): no copy is offered later.
type_text 'x'
wait_until "a new recovery copy" copy_holds 'x'
keys alt+a Down Down Down Down Return
wait_for_window 'Quieres guardar'
keys n
for ((tries = 0; tries < 300; tries++)); do
    kill -0 "${PID}" 2>/dev/null || break
    sleep 0.1
done
kill -0 "${PID}" 2>/dev/null && fail "timed out waiting for the program to end"
wait "${PID}" || fail "the program did not end cleanly"
PID=""
no_copy_left >/dev/null 2>&1 || fail "a clean exit left its recovery copy"
[ -z "$(ls -A "${COPIES}")" ] || fail "a clean exit left files behind: $(ls -A "${COPIES}")"
echo "recovery: passed"
