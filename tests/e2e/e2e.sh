#!/usr/bin/env bash
# A user's session by keystrokes alone: a page typed with a bold pair and a table from its
# dialog, saved through the file dialog, reopened and saved in place, its bytes compared each
# time; the screen at the end kept in the artifacts folder.   e2e.sh <program> <artifacts>
set -euo pipefail

NAME=e2e
source "$(dirname "$0")/session.sh"

more_diagnostics() { cat -A "${WORK}/expected" "${PAGE}" >&2; }

# What the file holds after the first save: the start-up template, the lines typed with the
# bold pair and the table between them, each line ended by CR LF.
TABLE="<table border='1' width='100%' height='' cellspacing='0' cellpadding='0' align='Center'"
TABLE+=" class='' bgcolor='' background=''>"
TYPED="<html>\r\n<head>\r\n<title>   </title>\r\n</head>\r\n<body>\r\n<b> Hola </b>\r\n"
TYPED+="${TABLE}\r\n<tr>\r\n<td>Celda</td>\r\n</tr>\r\n</table>\r\n</body>\r\n</html>\r\n"

start

# The splash comes first; the main window after it, titled with two leading blanks.
wait_for_window '^  Zendral$'

# The caret is after the start-up template.
type_lines '<body>'
# Etiquetas > HTML > Negrita: the pair, caret between its tags.
keys alt+t Right Down Down Down Down Down Down Down Down Return
type_text 'Hola'
keys End Return
# Etiquetas > HTML > Tabla, its dialog filled from the keyboard: the alignment list's second
# entry, then Tab on to the border box and the width box. The table's first row follows.
keys alt+t Right Down Down Down Down Down Down Down Down Down Down Down Down Return
wait_for_window 'de tabla$'
keys Down Down Tab Tab Tab 1 Tab Tab 1 0 0 percent Return
wait_for_window '^  Zendral$'
keys Return
type_lines '<td>Celda</td>' '</tr>' '</table>' '</body>'
type_text '</html>'

# Save: the page is untitled, so the file dialog asks for a name.
keys ctrl+s
wait_for_window 'Guardar archivo como'
type_lines "${PAGE}"
expect_page "${TYPED}" "the page saved as typed"

# Reopen it: Open asks first whether to save the current text; No.
wait_for_window "^Zendral - \\[${PAGE}\\]$"
keys ctrl+a
wait_for_window 'Quieres guardar'
keys n
wait_for_window 'Abrir archivo'
type_lines "${PAGE}"
wait_for_window "^Zendral - \\[${PAGE}\\]$"

# Saved in place, without a dialog: the very bytes read, no line break added.
keys ctrl+s
expect_page "${TYPED}" "the reopened page saved in place as read"

screenshot

quit_declining
wait_for_end
echo "e2e: passed; screenshot in ${SCREENSHOT}"
