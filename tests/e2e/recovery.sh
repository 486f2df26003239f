#!/usr/bin/env bash
# A crash and its recovery by keystrokes alone: a page typed on until its recovery copy holds
# it, the program killed, a colleague's change made to the file, the copy recovered on the next
# start and saved in place only once the change is asked about, its bytes compared; a clean exit
# leaves no copy behind, and SIGTERM one holding what was typed.
#   recovery.sh <program>
set -euo pipefail

NAME=recovery
source "$(dirname "$0")/session.sh"
export XDG_STATE_HOME="${WORK}/state"
COPIES="${XDG_STATE_HOME}/zendral"

more_diagnostics() { echo "recovery: copies: $(ls -A "${COPIES}" 2>&1)" >&2; }

copy_holds() { grep -q -- "$1" "${COPIES}"/*.recovery; }
no_copy_left() { ! ls "${COPIES}"/*.recovery; }

crash() {
    kill -KILL "${PID}"
    wait "${PID}" 2>/dev/null || true
}

# The window's own check of its file, as it becomes active, may ask first whether to read the
# changed file again: No keeps the recovered text, and Ctrl+S is pressed again.
no_window() { ! window_named "$1"; }

overwrite_asked() {
    if window_named 'leerlo de nuevo'; then
        wait_for_window 'leerlo de nuevo'
        keys n
        wait_until "the question answered" no_window 'leerlo de nuevo'
        wait_for_window "$(title_of "${PAGE}")"
        refocus
        keys ctrl+s
        return 1
    fi
    window_named 'sobrescribirlo'
}

# The first run: the page is saved under a name, then typed on.
printf '<html>\r\n</html>\r\n' >"${PAGE}"
start "${PAGE}"
wait_for_window "$(title_of "${PAGE}")"
keys ctrl+End
type_lines 'Hola <b>mundo</b>'
type_text 'fin'
wait_until "the recovery copy" copy_holds 'fin'
crash

# A colleague changes the page before the next start. Sí recovers the copy under its file name,
# unsaved; Ctrl+S asks before writing over the colleague's change, which is still whole then.
printf '<p>del colega</p>\r\n' >"${PAGE}"
start
wait_for_window 'Quieres recuperarla'
keys s
wait_for_window "$(title_of "${PAGE}")"
keys ctrl+s
wait_until "the question before overwriting the colleague's change" overwrite_asked
[ "$(cat "${PAGE}")" = "$(printf '<p>del colega</p>\r\n')" ] ||
    fail "the colleague's change was overwritten before the question"
keyboard_in 'sobrescribirlo' || wait_until "the question" keyboard_in 'sobrescribirlo'
keys s
expect_page '<html>\r\n</html>\r\nHola <b>mundo</b>\r\nfin\r\n' "the page saved as typed"
wait_until "the copy removed by Save" no_copy_left

# Typed on, so that Salir asks and a copy is there for the clean exit to remove.
type_text 'x'
wait_until "a new recovery copy" copy_holds 'x'

# Ended cleanly (Archivo > Salir, declining to save): no copy is offered later.
wait_for_window "$(title_of "${PAGE}")"
quit_declining
wait_for_end
no_copy_left >/dev/null 2>&1 || fail "a clean exit left its recovery copy"
[ -z "$(ls -A "${COPIES}")" ] || fail "a clean exit left files behind: $(ls -A "${COPIES}")"

# Ended by another program with a dialog open, before typing paused long enough for a copy:
# what was typed goes into the copy at once, and the next start offers it. (The page open at
# the clean exit above is offered first; No declines it.)
start
wait_for_window 'abrirlas de nuevo'
keys n
wait_until "the question answered" no_window 'abrirlas de nuevo'
wait_for_window '^  Zendral$'
refocus
type_text 'adios'
keys ctrl+s
wait_for_window 'Guardar archivo como'
kill -TERM "${PID}"
wait "${PID}" 2>/dev/null || true
copy_holds 'adios' || fail "the text typed before SIGTERM is not in the recovery copy"
start
wait_for_window 'Quieres recuperarla'
echo "recovery: passed"
