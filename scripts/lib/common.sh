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

# True when the Debian package $1 is installed.
is_installed() {
    [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == installed ]]
}

# Installs those of the given Debian packages that are missing, with
# apt-get; says so, and leaves with status 1 when one is still missing.
install_missing() {
    local missing=() package
    for package in "$@"; do
        is_installed "${package}" || missing+=("${package}")
    done
    if ((${#missing[@]} == 0)); then
        note "all ${#} packages are installed"
        return
    fi
    note "installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q -o Dpkg::Use-Pty=0 "${missing[@]}" </dev/null
    for package in "${missing[@]}"; do
        is_installed "${package}" || die "package ${package} is still not installed"
    done
}
