#!/bin/bash
# File systems where renameat2(RENAME_NOREPLACE) is not the whole story. bindfs (FUSE)
# answers EINVAL and takes link(2): renames go by link and unlink. exFAT through FUSE
# answers EINVAL and refuses links: renames fail. xfs and btrfs have the flag. Everywhere an
# existing target, or one made behind the file system's back, is never replaced.
. "$(dirname "$0")/lib.sh"

# probe KIND DIR: what the file system under DIR answers (ok, EINVAL, EPERM...) to a no-replace
# rename or a link of a fresh file to a free name.
probe() {
    echo probe >"$2/probe+a"
    "$PROBE" "$1" "$2/probe+a" "$2/probe+b"
    rm -f "$2/probe+a" "$2/probe+b"
}

# The batch of every case here: f+1 renames freely, f+2 meets an existing g+2, f+3's target
# g+3 is made after the scan through $1 (the folder as seen from below the mount, or the
# mount itself), and f+4.txt is made a folder after the scan. On FUSE, g+3 is looked up as
# missing through the mount before it is made below, so that the mount holds a stale entry
# for it (negative entries are cached there): the rename must still find it taken.
batch_on() {
    local below=$1
    put "$TREE/f+1.txt" "$TREE/f+2.txt" "$TREE/g+2.txt" "$TREE/f+3.txt" "$TREE/f+4.txt"
    take_before
    HOOK=$(hook_script "stat g+3.txt >/dev/null 2>&1 || true
                        echo 'late target' >$(printf %q "$below/g+3.txt")
                        [[ -e g+3.txt ]] || echo '-- g+3.txt is made where the mount cannot see it yet'
                        rm f+4.txt; mkdir f+4.txt; echo 'inner 4' >f+4.txt/in+.txt")
    drive -- --folder "$TREE" --mark f+ --mode $REPLACE_TEXT --primary f+ --secondary g+ \
        --hook "$HOOK"
    expect_listed 4
    verify 4
    [[ $(cat "$below/g+3.txt") == "late target" && -f $below/g+2.txt ]] ||
        fail "an existing target was replaced"
}

case_bindfs() {
    in_mount_namespace
    command -v bindfs >/dev/null || skip "bindfs is not installed"
    [[ -e /dev/fuse ]] || skip "no /dev/fuse"
    local below=$ROOT/below fuse=$ROOT/fuse
    mkdir -p "$below" "$fuse"
    bindfs -f -o negative_timeout=60 "$below" "$fuse" 2>"$ROOT/bindfs.err" &
    local pid=$!
    CLEANUPS+=("kill $pid 2>/dev/null; wait $pid 2>/dev/null")
    CLEANUPS+=("fusermount -u '$fuse' 2>/dev/null || umount -l '$fuse'")
    local waited=0
    until mountpoint -q "$fuse"; do
        kill -0 "$pid" 2>/dev/null || skip "bindfs would not mount: $(cat "$ROOT/bindfs.err")"
        ((waited++ < 100)) || skip "bindfs did not mount within 10 s"
        sleep 0.1
    done
    # The program and its log live on the FUSE mount too.
    APP=$fuse/app TREE=$fuse/tree DRIVER=$fuse/app/batch_driver LOG=$fuse/app/$LOG_NAME
    mkdir -p "$APP" "$TREE"
    cp "$DRIVER_BUILT" "$DRIVER"
    local noreplace link
    noreplace=$(probe noreplace "$TREE")
    link=$(probe link "$TREE")
    [[ $noreplace == EINVAL ]] ||
        skip "renameat2(RENAME_NOREPLACE) answers '$noreplace' on bindfs, not EINVAL: no fallback to test"
    [[ $link == ok ]] || skip "link(2) answers '$link' on bindfs: the fallback cannot work"
    note "bindfs: RENAME_NOREPLACE -> $noreplace, link -> $link"
    SNAP_TREE=$below/tree
    batch_on "$SNAP_TREE"
    grep -h '^-- ' "$ROOT/driver.out" || true
    # The link fallback cannot move a folder; f+4.txt stays.
    expect_names "$SNAP_TREE" g+1.txt f+2.txt g+2.txt f+3.txt g+3.txt f+4.txt/in+.txt
}

case_exfat() {
    in_mount_namespace
    command -v mkfs.exfat >/dev/null && command -v mount.exfat-fuse >/dev/null ||
        skip "mkfs.exfat (exfatprogs) or mount.exfat-fuse (exfat-fuse) is not installed"
    [[ -e /dev/fuse ]] || skip "no /dev/fuse"
    truncate -s 16M "$ROOT/exfat.img"
    mkfs.exfat "$ROOT/exfat.img" >/dev/null 2>&1 || skip "mkfs.exfat failed"
    local device mnt=$ROOT/exfat
    device=$(losetup -f --show "$ROOT/exfat.img" 2>/dev/null) || skip "no loop device for the image"
    CLEANUPS+=("losetup -d '$device'")
    mkdir "$mnt"
    mount.exfat-fuse "$device" "$mnt" >"$ROOT/exfat.err" 2>&1 ||
        skip "mount.exfat-fuse failed: $(cat "$ROOT/exfat.err")"
    CLEANUPS+=("umount '$mnt' || umount -l '$mnt'")
    TREE=$mnt/tree
    mkdir "$TREE"
    local noreplace link
    noreplace=$(probe noreplace "$TREE")
    link=$(probe link "$TREE")
    note "exFAT: RENAME_NOREPLACE -> $noreplace, link -> $link"
    [[ $noreplace == EINVAL && $link != ok ]] ||
        skip "this exFAT answers '$noreplace' / link '$link', not EINVAL and a refused link"
    batch_on "$TREE"
    # Neither way is open: no file moves.
    expect_names "$TREE" f+1.txt f+2.txt g+2.txt f+3.txt g+3.txt f+4.txt/in+.txt
}

# loop_mounted TYPE SIZE: a fresh TYPE file system in an image, mounted by loop, holding the
# program, its log and the files.
loop_mounted() {
    local type=$1 size=$2
    in_mount_namespace
    command -v "mkfs.$type" >/dev/null || skip "mkfs.$type is not installed"
    grep -qw "$type" /proc/filesystems || modprobe "$type" 2>/dev/null ||
        skip "the kernel has no $type"
    truncate -s "$size" "$ROOT/$type.img"
    "mkfs.$type" -q "$ROOT/$type.img" >"$ROOT/mkfs.err" 2>&1 ||
        skip "mkfs.$type failed: $(cat "$ROOT/mkfs.err")"
    local mnt=$ROOT/$type
    mkdir "$mnt"
    mount -o loop "$ROOT/$type.img" "$mnt" 2>"$ROOT/mount.err" ||
        skip "cannot loop-mount $type: $(cat "$ROOT/mount.err")"
    CLEANUPS+=("umount '$mnt' || umount -l '$mnt'")
    APP=$mnt/app TREE=$mnt/tree DRIVER=$mnt/app/batch_driver LOG=$mnt/app/$LOG_NAME
    mkdir -p "$APP" "$TREE"
    cp "$DRIVER_BUILT" "$DRIVER"
    note "$type: RENAME_NOREPLACE -> $(probe noreplace "$TREE")"
    batch_on "$TREE"
    # The folder made from f+4.txt moves like a file.
    expect_names "$TREE" g+1.txt f+2.txt g+2.txt f+3.txt g+3.txt g+4.txt/in+.txt
}
case_xfs() { loop_mounted xfs 320M; }
case_btrfs() { loop_mounted btrfs 160M; }

run_case
