#!/usr/bin/env bash
# A crash and its recovery by keystrokes alone: a page typed on until its recovery copy holds
# it, the program killed, the copy recovered on the next start and saved in place, its bytes
# compared; then a clean exit leaves no copy behind, and SIGTERM one holding what was typed.
#   recovery.sh <program>
set -euo pipefail

NAME=recovery
source "$(dirname "$0")/session.sh"
export XDG_STATE_HOME="${WORK}/state"
COPIES="${XDG_STATE_HOME}/zendral"

more_diagnostics() { echo "recovery: copies: $(ls -A "${COPIES}" 2>&1)" >&2; }

copy_holds() { grep -q -- "$1" "${COPIES}"/*.recovery; }
no_copy_left() { ! ls "${COPIES}"/*.recovery; }

# The first run: the page is saved under a name, then typed on.
printf '<html>\r\n</html>\r\n' >"${PAGE}"
start "${PAGE}"
wait_for_window "^Zendral - \\[${PAGE}\\]$"
keys ctrl+End
type_lines 'Hola <b>mundo</b>'
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
expect_page '<html>\r\n</html>\r\nHola <b>mundo</b>\r\nfin\r\n' "the page saved as typed"
wait_until "the copy removed by Save" no_copy_left

# Typed again and ended cleanly (Archivo > Salir, declining to save): no copy is offered later.
type_text 'x'
wait_until "a new recovery copy" copy_holds 'x'
quit_declining
wait_for_end
no_copy_left >/dev/null 2>&1 || fail "a clean exit left its recovery copy"
[ -z "$(ls -A "${COPIES}")" ] || fail "a clean exit left files behind: $(ls -A "${COPIES}")"

# Ended by another program with a dialog open, before typing paused long enough for a copy:
# what was typed goes into the copy at once, and the next start offers it.
start
wait_for_window '^  Zendral$'
type_text 'adios'
keys ctrl+s
wait_for_window 'Guardar archivo como'
kill -TERM "${PID}"
wait "${PID}" 2>/dev/null || true
copy_holds 'adios' || fail "the text typed before SIGTERM is not in the recovery copy"
start
wait_for_window 'Quieres recuperarla'
echo "recovery: passed"
