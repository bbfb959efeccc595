# shellcheck shell=bash
# Helpers for the fault cases. A script sources this file with its arguments
# (case, batch driver, file system probe) and then runs the function named after the case.
#
# Each case works in a fresh folder $ROOT: the driver is copied into $APP (so the rename log,
# $LOG, lands there) and the files to rename go under $TREE. Base names carry "+" and the
# texts searched for carry "+" too, so that no rule can match a part of the temporary path.
# Every case ends with `verify`: nothing lost or replaced under $TREE, the log's earlier bytes
# unchanged, and exactly the records expected appended, each one whole line.
#
# Exit status: 0 passed, 1 failed, 77 skipped (the mechanism the case needs is missing).

# shellcheck disable=SC2034  # variables for the scripts that source this file
set -euo pipefail
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
# Byte-wise text handling: names below are any bytes, not necessarily UTF-8.
export LC_ALL=C

CASE=$1
DRIVER_BUILT=$2
PROBE=$3
FAULTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
LOG_NAME='临时日志文件，若不用请删除即可.ini'
ARROW='→'

ROOT=$(mktemp -d "${TMPDIR:-/tmp}/faults.XXXXXX")
chmod 755 "$ROOT"
APP=$ROOT/app
TREE=$ROOT/tree
HOMEDIR=$ROOT/home
mkdir -p "$APP" "$TREE" "$HOMEDIR"
chmod 777 "$HOMEDIR"
DRIVER=$APP/batch_driver
LOG=$APP/$LOG_NAME
cp "$DRIVER_BUILT" "$DRIVER"

# Cleanup steps (unmounts, daemons, loop devices) run last first, before the folder goes.
CLEANUPS=()
on_exit() {
    local status=$? i
    for ((i = ${#CLEANUPS[@]} - 1; i >= 0; i--)); do eval "${CLEANUPS[i]}" || true; done
    chmod -R u+rwX "$ROOT" 2>/dev/null || true
    rm -rf "$ROOT" 2>/dev/null || true
    exit "$status"
}
trap on_exit EXIT
trap 'exit 130' INT TERM

fail() {
    echo "FAIL [$CASE]: $*" >&2
    if [[ -s $ROOT/driver.err ]]; then
        echo "--- driver's stderr:" >&2
        tail -n 20 "$ROOT/driver.err" >&2
    fi
    exit 1
}
skip() {
    echo "SKIPPED [$CASE]: $*"
    exit 77
}
note() { echo "-- $*"; }

# Mounts need a private mount namespace, so that they vanish with the case however it ends.
# Re-runs the script inside one (once).
in_mount_namespace() {
    [[ ${FAULTS_IN_NAMESPACE:-} == 1 ]] && return 0
    unshare -m --propagation private true 2>/dev/null ||
        skip "no private mount namespace here (unshare -m needs root / CAP_SYS_ADMIN)"
    rm -rf "$ROOT"
    trap - EXIT
    FAULTS_IN_NAMESPACE=1 exec unshare -m --propagation private \
        bash "$0" "$CASE" "$DRIVER_BUILT" "$PROBE"
}

# Permissions are tried as the unprivileged user nobody (root would pass them); the cases
# check that nobody really is refused where they mean it to be.
need_nobody() {
    command -v setpriv >/dev/null || skip "setpriv (util-linux) is not installed"
    id nobody >/dev/null 2>&1 && getent group nogroup >/dev/null ||
        skip "no user nobody / group nogroup to run as"
    [[ $(id -u) == 0 ]] || skip "switching to the user nobody needs root"
}
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }

# put PATH...: creates each file (and its folders) with its own unique line of content.
CONTENT_SERIAL=0
put() {
    local path
    for path; do
        mkdir -p -- "$(dirname -- "$path")"
        CONTENT_SERIAL=$((CONTENT_SERIAL + 1))
        printf 'content %d %s\n' "$CONTENT_SERIAL" "$RANDOM" >"$path"
    done
}

snapshot() { "$FAULTS_DIR/snapshot.sh" "$@"; }

# Records the state before the batch: the tree's snapshot and the log's bytes. A hook that
# changes the tree takes the snapshot itself, after its change (see hook_script). The tree is
# read at $SNAP_TREE when set: the same files seen from below a FUSE mount.
BEFORE_TAKEN=0
take_before() {
    snapshot "${SNAP_TREE:-$TREE}" "$ROOT/tree.before"
    BEFORE_TAKEN=1
    if [[ -e $LOG && -f $LOG ]]; then cp -- "$LOG" "$ROOT/log.before"; else : >"$ROOT/log.before"; fi
}

# hook_script BODY: a script for the driver's --hook, which runs BODY and then snapshots the
# tree, so that the snapshot holds what the batch itself starts from.
hook_script() {
    {
        echo '#!/bin/bash'
        echo 'set -euo pipefail'
        printf 'cd %q\n' "$TREE"
        echo "$1"
        printf '%q %q %q\n' "$FAULTS_DIR/snapshot.sh" "${SNAP_TREE:-$TREE}" "$ROOT/tree.before"
    } >"$ROOT/hook.sh"
    chmod 755 "$ROOT/hook.sh"
    echo "$ROOT/hook.sh"
}

# drive [--as-nobody] [--prefix CMD...] -- DRIVER-ARGS: runs the driver; it must end by itself
# with status 0: not killed by a signal, not hung (60 s), and with an empty list.
drive() {
    local -a prefix=()
    while [[ $1 != -- ]]; do
        case $1 in
            --as-nobody) prefix+=(setpriv --reuid=nobody --regid=nogroup --clear-groups) ;;
            *) prefix+=("$1") ;;
        esac
        shift
    done
    shift
    # Qt wants a private runtime folder of the user it runs as.
    local runtime
    runtime=$ROOT/runtime-$(id -u)
    if [[ ${prefix[0]:-} == setpriv ]]; then runtime=$ROOT/runtime-nobody; fi
    if [[ ! -d $runtime ]]; then
        mkdir -m 700 "$runtime"
        [[ $runtime != */runtime-nobody ]] || chown nobody:nogroup "$runtime"
    fi
    local status=0
    HOME=$HOMEDIR XDG_RUNTIME_DIR=$runtime LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
        timeout -k 5 60 "${prefix[@]}" "$DRIVER" "$@" >"$ROOT/driver.out" 2>"$ROOT/driver.err" ||
        status=$?
    if ((status == 124 || status == 137)); then fail "the driver hung (killed after 60 s)"; fi
    if ((status > 128)); then fail "the driver was killed by SIG$(kill -l $((status - 128)))"; fi
    ((status == 0)) || fail "the driver ended with status $status"
    grep -qx $'left\t0' "$ROOT/driver.out" || fail "the list is not empty after the batch"
}

# The number of rows the last scan listed.
listed_rows() { grep -c $'^row\t' "$ROOT/driver.out" || true; }
expect_listed() {
    local n
    n=$(listed_rows)
    ((n == $1)) || fail "the scan listed $n rows, expected $1: $(grep $'^row\t' "$ROOT/driver.out")"
}

# verify RECORDS: nothing under the tree lost or replaced, the log's earlier bytes
# unchanged, and RECORDS new records appended, each a whole line ("-" when the log must be
# byte for byte as before: every record lost).
verify() {
    local records=$1 tree=${SNAP_TREE:-$TREE}
    ((BEFORE_TAKEN)) || [[ -e $ROOT/tree.before ]] || fail "no snapshot before the batch"
    snapshot "$tree" "$ROOT/tree.after"
    if ! cmp -s "$ROOT/tree.before" "$ROOT/tree.after"; then
        diff "$ROOT/tree.before" "$ROOT/tree.after" >&2 || true
        fail "a file was lost, replaced or doubled (contents before < after >)"
    fi
    local before_size after_size
    before_size=$(stat -c %s "$ROOT/log.before")
    if [[ -f $LOG ]]; then after_size=$(stat -c %s "$LOG"); else after_size=0; fi
    if [[ $records == - ]]; then
        ((after_size == before_size)) ||
            fail "the log changed ($before_size -> $after_size bytes) though no record could be written"
        ((after_size == 0)) || cmp -s "$ROOT/log.before" "$LOG" || fail "the log's bytes changed"
        return 0
    fi
    ((after_size >= before_size)) || fail "the log shrank ($before_size -> $after_size bytes)"
    ((before_size == 0)) || cmp -s -n "$before_size" "$ROOT/log.before" "$LOG" ||
        fail "the log's earlier bytes changed"
    tail -c +$((before_size + 1)) "$LOG" >"$ROOT/log.new"
    local lf cr
    lf=$(tr -cd '\n' <"$ROOT/log.new" | wc -c)
    cr=$(tr -cd '\r' <"$ROOT/log.new" | wc -c)
    ((lf == records)) || fail "$lf records appended, expected $records"
    ((cr == records)) || fail "a CR inside a record, or a line without CR LF"
    if ((records > 0)); then
        [[ $(tail -c 2 "$ROOT/log.new" | od -An -tx1 | tr -d ' ') == 0d0a ]] ||
            fail "the log ends in a partial line"
        (($(grep -c $'\r$' "$ROOT/log.new") == records)) || fail "a line of the log lacks its CR"
    fi
}

# expect_record OLD NEW: the new part of the log holds the record OLD→NEW (paths as the OS
# spells them, CR and LF in them written as \r and \n).
expect_record() {
    local line
    line="$1$ARROW$2"
    line=${line//$'\r'/\\r}
    line=${line//$'\n'/\\n}
    grep -qxF -- "$line"$'\r' "$ROOT/log.new" ||
        fail "no record '$(printf '%q' "$line")' in the log: $(cat -v "$ROOT/log.new")"
}

# expect_names DIR NAME...: DIR holds exactly these files and links (at any depth, relative).
expect_names() {
    local dir=$1
    shift
    local actual expected
    actual=$(cd "$dir" && find . -mindepth 1 \( -type f -o -type l \) -printf '%P\0' | sort -z | od -An -c)
    expected=$(if (($#)); then printf '%s\0' "$@"; fi | sort -z | od -An -c)
    if [[ $actual != "$expected" ]]; then
        echo "files now:" >&2
        (cd "$dir" && find . -mindepth 1 \( -type f -o -type l \) -printf '%P\n' | sort | cat -v) >&2
        echo "expected:" >&2
        printf '%s\n' "$@" | sort | cat -v >&2
        fail "the files under $dir are not the ones expected"
    fi
}

# The rename modes, as the mode buttons number them.
ADD_PREFIX=1 ADD_SUFFIX=2 REPLACE_TEXT=3 SPLIT_KEEP_FRONT=4 SPLIT_KEEP_BACK=5
KEYWORD_WITH_FRONT=6 KEYWORD_WITH_BACK=7 INSERT_FROM_FRONT=8 INSERT_FROM_BACK=9

run_case() {
    declare -F "case_$CASE" >/dev/null || fail "no case named $CASE"
    "case_$CASE"
    echo "PASS [$CASE]"
}
