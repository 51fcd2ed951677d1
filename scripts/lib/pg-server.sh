# shellcheck shell=bash
# A throw-away PostgreSQL server for the database tests. Sourced, never run.
#
#   trap pg_server_stop EXIT
#   pg_server_start          # exports DCF_TEST_PG_HOST/PORT/USER/DATABASE
#
# The server lives in a `mktemp -d` folder, trusts every local connection,
# listens on 127.0.0.1 only and keeps its unix socket inside that folder, so it
# never meets a cluster the postgresql package may have started.
# pg_server_stop is silent and safe to call at any time, even twice.

pg_server_dir=""
pg_server_owner=""

# The bin folder of the newest installed PostgreSQL server.
pg_server_bindir() {
    local dir
    dir="$(find /usr/lib/postgresql -mindepth 2 -maxdepth 2 -name bin 2>/dev/null | sort -V |
        tail -n1)"
    [[ -n "${dir}" && -x "${dir}/initdb" ]] || return 1
    printf '%s\n' "${dir}"
}

# Runs a command as the server's owner, from the server's folder.
pg_server_as_owner() {
    if [[ ${EUID} -eq 0 ]]; then
        (cd "${pg_server_dir}" && runuser -u "${pg_server_owner}" -- "$@")
    else
        (cd "${pg_server_dir}" && "$@")
    fi
}

pg_server_port_free() {
    ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

pg_server_start() {
    local bindir
    bindir="$(pg_server_bindir)" || {
        echo "pg-server: no PostgreSQL server binaries under /usr/lib/postgresql" >&2
        return 1
    }
    pg_server_dir="$(mktemp -d -t dcf-pg.XXXXXX)" || return 1
    if [[ ${EUID} -eq 0 ]]; then
        # The server refuses to run as root: the package's system user owns it.
        pg_server_owner=postgres
        id -u "${pg_server_owner}" >/dev/null 2>&1 || {
            echo "pg-server: user ${pg_server_owner} is missing: run scripts/setup" >&2
            return 1
        }
        chown "${pg_server_owner}:" "${pg_server_dir}" || return 1
    else
        pg_server_owner="$(id -un)"
    fi

    pg_server_as_owner "${bindir}/initdb" -D "${pg_server_dir}/data" -U "${pg_server_owner}" \
        --auth=trust --encoding=UTF8 --no-locale --no-sync >"${pg_server_dir}/initdb.log" 2>&1 || {
        echo "pg-server: initdb failed:" >&2
        cat "${pg_server_dir}/initdb.log" >&2
        return 1
    }

    # Another program may take a port between the check and the start, so a
    # start that fails moves on to the next free port.
    # A test server: durability only costs time.
    local options="-c fsync=off -c synchronous_commit=off -c full_page_writes=off"
    local port="" candidate
    for ((candidate = 55432; candidate < 55532; candidate++)); do
        pg_server_port_free "${candidate}" || continue
        if pg_server_as_owner "${bindir}/pg_ctl" start -D "${pg_server_dir}/data" -w -t 60 -s \
            -l "${pg_server_dir}/server.log" \
            -o "-p ${candidate} -c listen_addresses=127.0.0.1 -k ${pg_server_dir} ${options}" \
            >/dev/null 2>&1; then
            port="${candidate}"
            break
        fi
    done
    if [[ -z "${port}" ]]; then
        echo "pg-server: the server did not start; its log:" >&2
        cat "${pg_server_dir}/server.log" >&2 2>/dev/null
        return 1
    fi

    local tries
    for ((tries = 0; tries < 60; tries++)); do
        "${bindir}/pg_isready" -q -h 127.0.0.1 -p "${port}" && break
        sleep 0.5
    done
    "${bindir}/pg_isready" -q -h 127.0.0.1 -p "${port}" || {
        echo "pg-server: the server on port ${port} is not ready" >&2
        return 1
    }

    export DCF_TEST_PG_HOST=127.0.0.1
    export DCF_TEST_PG_PORT="${port}"
    export DCF_TEST_PG_USER="${pg_server_owner}"
    export DCF_TEST_PG_DATABASE=postgres
    export DCF_TEST_REQUIRE_PG=1
    echo "PostgreSQL $("${bindir}/postgres" --version | awk '{print $3}') test server on 127.0.0.1:${port}"
}

pg_server_stop() {
    [[ -n "${pg_server_dir}" ]] || return 0
    local bindir data="${pg_server_dir}/data"
    if [[ -f "${data}/postmaster.pid" ]] && bindir="$(pg_server_bindir)"; then
        pg_server_as_owner "${bindir}/pg_ctl" stop -D "${data}" -m fast -w -t 30 -s \
            >/dev/null 2>&1 ||
            kill -QUIT "$(head -n1 "${data}/postmaster.pid" 2>/dev/null)" >/dev/null 2>&1 ||
            true
    fi
    rm -rf "${pg_server_dir}" >/dev/null 2>&1 || true
    pg_server_dir=""
    return 0
}
