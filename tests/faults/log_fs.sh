#!/bin/bash
# The rename log cannot take a record: its file system is full, the file size limit is
# reached, its path is a folder or a FIFO, the program's folder or the log is read-only. The
# batch must rename every file all the same, lose the records without a trace (no partial
# line), keep every earlier record, and neither die nor hang.
. "$(dirname "$0")/lib.sh"

# Three files, two folders deep; every one is renamed by the prefix "p_".
basic_tree() { put "$TREE/f+1.txt" "$TREE/f+2.txt" "$TREE/sub/f+3.txt"; }
batch_basic() { drive "$@" -- --folder "$TREE" --mode $ADD_PREFIX --primary p_; }
expect_basic_renamed() {
    expect_listed 3
    expect_names "$TREE" p_f+1.txt p_f+2.txt sub/p_f+3.txt
}

# prefill_log BYTES: a log of earlier records, exactly BYTES long (the last one cut short).
prefill_log() {
    local line="/old/f+0.txt$ARROW/old/p_f+0.txt"$'\r\n'
    : >"$LOG"
    while (($(stat -c %s "$LOG") < $1)); do printf '%s' "$line" >>"$LOG"; done
    truncate -s "$1" "$LOG"
}

# A tmpfs just big enough for the driver and the log, then filled up. With the log ending
# 7 bytes short of a page, a record fits in part (the write comes back short and must be cut
# back); ending on a page boundary, no byte fits.
log_on_full_tmpfs() {
    local log_size=$1
    in_mount_namespace
    local small=$ROOT/small size_kb
    size_kb=$(($(stat -c %s "$DRIVER_BUILT") / 1024 + 64))
    mkdir "$small"
    mount -t tmpfs -o "size=${size_kb}k,mode=755" faults-small "$small" ||
        skip "cannot mount a tmpfs"
    CLEANUPS+=("umount -l '$small'")
    APP=$small DRIVER=$small/batch_driver LOG=$small/$LOG_NAME
    cp "$DRIVER_BUILT" "$DRIVER"
    prefill_log "$log_size"
    dd if=/dev/zero of="$small/filler" bs=4k 2>/dev/null || true
    cat /dev/zero >>"$small/filler" 2>/dev/null || true
    (($(stat -f -c %a "$small") == 0)) || fail "the tmpfs is not full"
    basic_tree
    take_before
    batch_basic
    expect_basic_renamed
    verify -
}
case_tmpfs_full_partial() { log_on_full_tmpfs $((8192 - 7)); }
case_tmpfs_full_none() { log_on_full_tmpfs 8192; }

# RLIMIT_FSIZE: at the limit a write raises SIGXFSZ (which must not kill) and fails; just
# below it the write comes back short (and must be cut back).
log_at_size_limit() {
    local limit=$1
    command -v prlimit >/dev/null || skip "prlimit (util-linux) is not installed"
    prlimit --fsize=100000 true 2>/dev/null || skip "prlimit cannot set RLIMIT_FSIZE here"
    basic_tree
    prefill_log 4000
    take_before
    batch_basic prlimit --fsize="$limit"
    expect_basic_renamed
    verify -
}
case_fsize_partial() { log_at_size_limit 4007; }
case_fsize_at_limit() { log_at_size_limit 4000; }

case_log_is_folder() {
    put "$LOG/kept+.txt"
    basic_tree
    take_before
    batch_basic
    expect_basic_renamed
    verify -
    expect_names "$LOG" kept+.txt
}

case_log_is_fifo() {
    mkfifo "$LOG"
    basic_tree
    take_before
    batch_basic
    expect_basic_renamed
    verify -
    [[ -p $LOG ]] || fail "the FIFO in the log's place is gone"
}

case_program_folder_readonly() {
    need_nobody
    basic_tree
    chown -R nobody:nogroup "$TREE" "$APP"
    chmod 555 "$APP"
    as_nobody touch "$APP/probe" 2>/dev/null && fail "nobody can still write into the program's folder"
    take_before
    batch_basic --as-nobody
    expect_basic_renamed
    verify -
    [[ ! -e $LOG ]] || fail "a log appeared in the read-only folder"
}

case_log_readonly() {
    need_nobody
    basic_tree
    prefill_log 500
    chown -R nobody:nogroup "$TREE" "$APP"
    chmod 444 "$LOG"
    take_before
    batch_basic --as-nobody
    expect_basic_renamed
    verify -
}

run_case
