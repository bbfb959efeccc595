#!/bin/bash
# Targets that are taken or unreachable: an existing file, folder, link or second name of the
# same file; a folder that does not exist; two rows with one target; a row whose target is
# another row's source; a target on another file system. Never a replacement, never a copy.
. "$(dirname "$0")/lib.sh"

# The rows in the order the scan listed them (paths).
listed() { sed -n $'s/^row\t//p' "$ROOT/driver.out"; }

case_exists() {
    put "$TREE/f+1.txt" "$TREE/g+1.txt" "$TREE/f+2.txt" "$TREE/f+3.txt" "$TREE/f+4.txt"
    mkdir "$TREE/g+2.txt"
    ln -s f+3.txt "$TREE/g+3.txt"
    ln "$TREE/f+4.txt" "$TREE/g+4.txt"
    take_before
    drive -- --folder "$TREE" --mark f+ --mode $REPLACE_TEXT --primary f+ --secondary g+
    expect_listed 4
    expect_names "$TREE" f+1.txt g+1.txt f+2.txt f+3.txt g+3.txt f+4.txt g+4.txt
    [[ $(stat -c %h "$TREE/f+4.txt") == 2 && -L $TREE/g+3.txt && -d $TREE/g+2.txt ]] ||
        fail "a target changed its kind"
    verify 4
    local n
    for n in 1 2 3 4; do expect_record "$TREE/f+$n.txt" "$TREE/g+$n.txt"; done
}

case_missing_folder() {
    # A file in a folder named like its base name: the prefix changes the folder too.
    put "$TREE/d+1/d+1.txt" "$TREE/e+2.txt"
    take_before
    drive -- --folder "$TREE" --mode $ADD_PREFIX --primary p_
    expect_names "$TREE" d+1/d+1.txt p_e+2.txt
    verify 2
    expect_record "$TREE/d+1/d+1.txt" "$TREE/p_d+1/p_d+1.txt"

    # A replacement that names a folder that is not there, and one that names a file's path
    # as a folder.
    put "$TREE/x+3.txt" "$TREE/y+.txt" "$TREE/x+y+.txt"
    take_before
    drive -- --folder "$TREE" --mark x+ --mode $REPLACE_TEXT --primary x+ --secondary no+/x+
    verify 2
    drive -- --folder "$TREE" --mark x+ --mode $REPLACE_TEXT --primary x+ --secondary y+.txt/
    verify 4
    expect_names "$TREE" d+1/d+1.txt p_e+2.txt x+3.txt y+.txt x+y+.txt
}

case_same_target() {
    # Both names lose everything from the "-": the first row takes m+1.txt, the second fails.
    put "$TREE/m+1-a.txt" "$TREE/m+1-b.txt"
    take_before
    drive -- --folder "$TREE" --mode $SPLIT_KEEP_FRONT --primary -
    expect_listed 2
    local second
    second=$(listed | sed -n 2p)
    expect_names "$TREE" m+1.txt "${second##*/}"
    verify 2
    expect_record "$second" "$TREE/m+1.txt"
}

case_chain() {
    # a+ -> b+ while b+.txt is there: a+.txt's rename fails, b+.txt's target is itself.
    put "$TREE/ab/a+.txt" "$TREE/ab/b+.txt"
    take_before
    drive -- --folder "$TREE/ab" --mode $REPLACE_TEXT --primary a+ --secondary b+
    expect_names "$TREE/ab" a+.txt b+.txt
    verify 2
    expect_record "$TREE/ab/a+.txt" "$TREE/ab/b+.txt"
    expect_record "$TREE/ab/b+.txt" "$TREE/ab/b+.txt"

    # q+ -> q+q+ on q+.txt and q+q+.txt: one row's target is the other's source, so what
    # succeeds depends on the order of the rows, but nothing is overwritten either way.
    put "$TREE/qq/q+.txt" "$TREE/qq/q+q+.txt"
    take_before
    drive -- --folder "$TREE/qq" --mode $REPLACE_TEXT --primary q+ --secondary q+q+
    if [[ $(listed | sed -n 1p) == "$TREE/qq/q+.txt" ]]; then
        expect_names "$TREE/qq" q+.txt q+q+q+q+.txt
    else
        expect_names "$TREE/qq" q+q+.txt q+q+q+q+.txt
    fi
    verify 2
}

case_cross_device() {
    # A target on another file system: the rename fails (no copy is made); a target in an
    # existing folder of the same file system is moved there.
    in_mount_namespace
    put "$TREE/dir+/k+1.txt" "$TREE/a/dir+/k+2.txt"
    mkdir "$TREE/mnt+" "$TREE/a/mnt+"
    mount -t tmpfs -o size=1m faults-other "$TREE/mnt+" || skip "cannot mount a tmpfs"
    CLEANUPS+=("umount -l '$TREE/mnt+'")
    take_before
    drive -- --folder "$TREE" --mark k+ --mode $REPLACE_TEXT --primary dir+/ --secondary mnt+/
    expect_names "$TREE" dir+/k+1.txt a/mnt+/k+2.txt
    verify 2
    expect_record "$TREE/dir+/k+1.txt" "$TREE/mnt+/k+1.txt"
}

run_case
