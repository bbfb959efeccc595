#!/bin/bash
# Renames that the file system refuses or that meet a changed folder: permissions of an
# unprivileged user, and files removed, replaced, made into folders or given a target between
# the scan and the batch (by a hook the driver runs after FindButton). Every attempt is
# logged, the list empties, and nothing is lost or replaced.
. "$(dirname "$0")/lib.sh"

# All cases rename "f+N" to "g+N"; the mark keeps the targets out of the list.
batch_f_to_g() { drive "$@" -- --folder "$TREE" --mark f+ --mode $REPLACE_TEXT --primary f+ --secondary g+ "${HOOK[@]}"; }
HOOK=()

case_permissions() {
    need_nobody
    # ro+: not writable for nobody. rw+: nobody's own, with a root-owned target in place.
    # hid+: not even readable. st+: sticky and world-writable, one file root's, one nobody's.
    put "$TREE/ro+/f+1.txt" "$TREE/rw+/f+2.txt" "$TREE/hid+/f+3.txt" \
        "$TREE/st+/f+4.txt" "$TREE/st+/f+5.txt" "$TREE/rw+/f+6.txt" "$TREE/rw+/g+6.txt"
    chown nobody:nogroup "$TREE/rw+" "$TREE/st+/f+5.txt" "$APP"
    chmod 600 "$TREE/rw+/g+6.txt"
    chmod 700 "$TREE/hid+"
    chmod 1777 "$TREE/st+"
    as_nobody touch "$TREE/ro+/probe" 2>/dev/null &&
        fail "nobody can write where it must not"
    take_before
    batch_f_to_g --as-nobody
    expect_listed 5
    expect_names "$TREE" ro+/f+1.txt rw+/g+2.txt hid+/f+3.txt st+/f+4.txt st+/g+5.txt \
        rw+/f+6.txt rw+/g+6.txt
    verify 5
    expect_record "$TREE/ro+/f+1.txt" "$TREE/ro+/g+1.txt"
    expect_record "$TREE/st+/f+4.txt" "$TREE/st+/g+4.txt"
    expect_record "$TREE/rw+/f+6.txt" "$TREE/rw+/g+6.txt"
}

# change_between HOOK-BODY: three files listed, the hook changes the folder, the batch runs.
change_between() {
    put "$TREE/f+1.txt" "$TREE/f+2.txt" "$TREE/f+3.txt"
    take_before
    HOOK=(--hook "$(hook_script "$1")")
    batch_f_to_g
    expect_listed 3
}

case_removed() {
    change_between 'rm f+2.txt'
    expect_names "$TREE" g+1.txt g+3.txt
    verify 3
    expect_record "$TREE/f+2.txt" "$TREE/g+2.txt"
}

case_replaced() {
    # Another file under the same name, and a link in a file's place: the batch renames what
    # it finds there, and the link's target is not touched.
    change_between 'rm f+2.txt; echo "new content" >f+2.txt
                    mkdir ../out; echo "linked content" >../out/t+.txt
                    rm f+3.txt; ln -s ../out/t+.txt f+3.txt'
    expect_names "$TREE" g+1.txt g+2.txt g+3.txt
    [[ $(cat "$TREE/g+2.txt") == "new content" ]] || fail "g+2.txt is not the replacement"
    [[ -L $TREE/g+3.txt && $(cat "$ROOT/out/t+.txt") == "linked content" ]] ||
        fail "the link or its target changed"
    verify 3
}

case_made_folder() {
    # f+2.txt becomes a folder with a file in it: if it moves, its file moves with it. f+3.txt
    # becomes a folder whose target is an empty folder, which must not be replaced.
    change_between 'rm f+2.txt f+3.txt; mkdir f+2.txt f+3.txt g+3.txt
                    echo "inner 2" >f+2.txt/in+.txt; echo "inner 3" >f+3.txt/in+.txt'
    [[ -d $TREE/g+3.txt && -z $(ls -A "$TREE/g+3.txt") ]] || fail "the empty folder g+3.txt changed"
    [[ -f $TREE/f+3.txt/in+.txt ]] || fail "the folder f+3.txt moved onto g+3.txt"
    [[ -f $TREE/f+2.txt/in+.txt || -f $TREE/g+2.txt/in+.txt ]] || fail "the folder f+2.txt lost its file"
    verify 3
}

case_target_appears() {
    # The targets appear after the scan: a file with other content, a dangling link, and an
    # empty file. None of them may be replaced.
    change_between 'echo "late target" >g+1.txt; ln -s nowhere+ g+2.txt; : >g+3.txt'
    expect_names "$TREE" f+1.txt g+1.txt f+2.txt g+2.txt f+3.txt g+3.txt
    [[ $(cat "$TREE/g+1.txt") == "late target" && -L $TREE/g+2.txt && ! -s $TREE/g+3.txt ]] ||
        fail "a target that appeared after the scan was changed"
    verify 3
}

run_case
