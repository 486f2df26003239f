#!/usr/bin/env bash
# Two pages by keystrokes alone: one opened from the desktop comes up in a second window of
# the running program; a found word is marked; a page is printed to a PDF file; a misspelt word
# is underlined in red, corrected from the text's menu and saved, then taken back.
#   pages.sh <program> <artifacts>
set -euo pipefail

NAME=pages
source "$(dirname "$0")/session.sh"

FIRST="${WORK}/primera.html" SECOND="${WORK}/segunda.html"
printf '<p>casa y casa</p>\n' >"${FIRST}"
printf '<p>Una cancion</p>\n' >"${SECOND}"

# Whether the window titled to match has more than a few pixels the ImageMagick test picks out.
some_pixels_of() {
    import -window "$(window_named "$1" | head -n 1)" "${WORK}/window.png" 2>/dev/null
    [ "$(convert "${WORK}/window.png" -fx "$2" -format '%[fx:int(mean*w*h)]' info:)" -gt 20 ]
}
# The marker behind a found word; a misspelt word's wavy underline, smoothed: reds of every shade.
MARKED='abs(r-1)<0.04 && abs(g-0.925)<0.04 && abs(b-0.47)<0.04'
UNDERLINED='r>0.9 && g<0.7 && b<0.7'


start "${FIRST}"
wait_for_window "$(title_of "${FIRST}")"

# The second page, opened from the desktop, goes to the running program; its own start ends.
"${PROGRAM}" "${SECOND}" >>"${LOG}" 2>&1 || fail "the second start did not end cleanly"
wait_for_window "$(title_of "${SECOND}")"
window_named "$(title_of "${FIRST}")" >/dev/null || fail "the first page's window went away"

# In the first page: a word found is marked wherever it shows.
wait_for_window "$(title_of "${FIRST}")"
keys alt+l Tab
type_lines 'casa'
wait_until "the found words marked" some_pixels_of "$(title_of "${FIRST}")" "${MARKED}"

# Printed through the print dialog to a PDF file named in its "Fichero de salida" box.
keys Escape ctrl+p
wait_for_window '^Imprimir$'
keys alt+f ctrl+a
type_lines "${WORK}/primera.pdf"
wait_until "the printed page" bash -c "pdftotext '${WORK}/primera.pdf' - | grep -q 'casa y casa'"
# The print dialog gone, its window has the keyboard back before another window takes it.
wait_until "the print dialog closed" bash -c "! xdotool search --onlyvisible --name '^Imprimir$'"
wait_for_window "$(title_of "${FIRST}")"

wait_for_window "$(title_of "${SECOND}")"
# Back to the second page: the misspelt word gets its red wavy underline once typing pauses.
wait_until "a red underline in the second page" some_pixels_of "$(title_of "${SECOND}")" "${UNDERLINED}"

# The caret into the word; the menu key opens the text's menu; its first suggestion replaces it.
keys ctrl+Home Right Right Right Right Right Right Right Right Right
SHOWN="$(windows_shown)"
keys Menu
wait_until "the text's menu" more_windows_than "${SHOWN}"
keys Down Return ctrl+s
# The accent asks, once, whether to declare the page's encoding: No saves it as it stands.
wait_for_window 'no declara su codificación'
keys n
wait_until "the question answered" bash -c "! xdotool search --onlyvisible --name 'no declara'"
wait_for_window "$(title_of "${SECOND}")"
PAGE="${SECOND}" expect_page '<p>Una canci\303\263n</p>\n' "the corrected page on disk"
screenshot
# The correction is one step back.
keys ctrl+z ctrl+s
PAGE="${SECOND}" expect_page '<p>Una cancion</p>\n' "the correction taken back"

# Archivo > Salir closes one window, asking as ever whether to save it first.
quit_declining
wait_for_window "$(title_of "${FIRST}")"
quit_declining
wait_for_end
echo "pages: passed; screenshot in ${SCREENSHOT}"
