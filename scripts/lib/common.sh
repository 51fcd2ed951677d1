# shellcheck shell=bash
# Helpers shared by the scripts in scripts/. Sourced, never run.

# Prints a message on standard error and leaves with status 1.
die() {
    printf '%s: %s\n' "${0##*/}" "$*" >&2
    exit 1
}

note() {
    printf '%s: %s\n' "${0##*/}" "$*"
}

# Runs a command as root: directly when we are root, through sudo otherwise.
as_root() {
    if [[ ${EUID} -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        die "this step needs root: run it as root or install sudo (command: $*)"
    fi
}
