# What the keystroke scripts share, sourced after setting NAME (the prefix of their messages),
# with the program (and the artifacts folder) as arguments: a fresh home and work folder, the
# program's start and end, waits on windows, keys. more_diagnostics may say more on a failure.
PROGRAM="$(realpath "$1")"
ARTIFACTS="${2:-}"
SCREENSHOT="${ARTIFACTS}/${NAME}.png"
WORK="$(mktemp -d)"
PAGE="${WORK}/pagina.html"
LOG="${WORK}/zendral.log"
PID=""

# A user starting the program for the first time: an empty home, no settings.
export HOME="${WORK}/home" XDG_RUNTIME_DIR="${WORK}/run"
mkdir -p "${HOME}" && mkdir -m 700 "${XDG_RUNTIME_DIR}"
unset QT_QPA_PLATFORM

finish() {
    [ -z "${PID}" ] || { kill "${PID}" && wait "${PID}"; } 2>/dev/null || true
    rm -rf "${WORK}"
}
trap finish EXIT

fail() {
    echo "${NAME}: FAILED: $*" >&2
    [ -z "${ARTIFACTS}" ] || screenshot || true
    ! declare -F more_diagnostics >/dev/null || more_diagnostics || true
    echo "${NAME}: windows on screen:" >&2
    xdotool search --onlyvisible --name '.' getwindowname %@ >&2 2>/dev/null || true
    echo "${NAME}: the keyboard is in: $(xdotool getwindowfocus getwindowname 2>&1)" >&2
    echo "${NAME}: the program's output:" >&2
    cat "${LOG}" >&2 || true
    exit 1
}

start() { "${PROGRAM}" "$@" >>"${LOG}" 2>&1 & PID=$!; }

# Polls a condition every tenth of a second for up to a minute (a slow condition polls less often).
wait_until() {
    local what="$1" deadline=$((SECONDS + 60))
    shift
    while ((SECONDS < deadline)); do
        "$@" >/dev/null 2>&1 && return 0
        kill -0 "${PID}" 2>/dev/null || fail "the program ended while waiting for ${what}"
        sleep 0.1
    done
    fail "timed out waiting for ${what}"
}

# The program ending is what is awaited here, so wait_until's own check does not apply.
wait_for_end() {
    local tries
    for ((tries = 0; tries < 300; tries++)); do
        kill -0 "${PID}" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "${PID}" 2>/dev/null && fail "timed out waiting for the program to end"
    wait "${PID}" || fail "the program did not end cleanly"
    PID=""
}

# Waits for the page on disk to hold exactly the bytes given (printf escapes: every CR LF shows).
expect_page() {
    printf '%b' "$1" >"${WORK}/expected"
    wait_until "$2" cmp -s "${WORK}/expected" "${PAGE}"
}

window_named() { xdotool search --onlyvisible --name "$1"; }
title_of() { printf '^Zendral - \\[%s\\]$' "$1"; }

# True once the keyboard is in a window titled to match; until then raises the window and puts
# the keyboard there, as a click on it would (there is no window manager to do it).
keyboard_in() {
    [[ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" =~ $1 ]] && return 0
    local window="$(window_named "$1" | head -n 1)"
    xdotool windowraise "${window}" windowfocus "${window}"
    return 1
}

wait_for_window() {
    wait_until "a window titled \"$1\"" window_named "$1"
    wait_until "the keyboard in \"$1\"" keyboard_in "$1"
}

keys() { xdotool key --delay 30 "$@"; }
type_text() { xdotool type --delay 30 "$1"; }

windows_shown() { xdotool search --onlyvisible --pid "${PID}" | wc -l; }
more_windows_than() { [ "$(windows_shown)" -gt "$1" ]; }

# Takes the keyboard away from the window that has it and gives it back: with no window manager,
# a window left with the keyboard when another closed may never hear it is the active one, and
# its menus do not answer their keys until it does.
refocus() {
    local window="$(xdotool getwindowfocus)"
    xdotool windowfocus "$(xdotool search --maxdepth 0 '' 2>/dev/null | head -n 1)"
    xdotool windowfocus "${window}"
}

# Opens a menu with its access key and, once it is on screen, takes the entry given by its
# access key; the keys are sent again, the window's keyboard given back, until the menu shows.
menu_entry() {
    local shown tries deadline
    for ((tries = 0; tries < 6; tries++)); do
        ((tries == 0)) || refocus
        shown="$(windows_shown)"
        keys "$1"
        deadline=$((SECONDS + 10))
        while ((SECONDS < deadline)); do
            more_windows_than "${shown}" && keys "$2" && return 0
            sleep 0.1
        done
    done
    fail "the menu of $1 did not show"
}


# Types each line given, Enter after each.
type_lines() { local line; for line in "$@"; do type_text "${line}"; keys Return; done; }

# The whole screen into the artifacts folder.
screenshot() {
    mkdir -p "${ARTIFACTS}"
    import -window root "${SCREENSHOT}" && echo "${NAME}: screenshot in ${SCREENSHOT}" >&2
}

# Archivo > Salir, declining to save: one window closes (the program ends with its last).
quit_declining() {
    menu_entry alt+a s
    wait_for_window 'Quieres guardar'
    keys n
}
