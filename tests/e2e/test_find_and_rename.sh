#!/usr/bin/env bash
# The user's road from a folder to renamed files, three batches in one run of the program:
# an absolute folder with AddPrefix; a relative folder (taken from the program's folder, not
# from where it was started) with InsertFromFront and a position typed with a stray letter;
# and a rename whose target exists, which must leave both files alone and still be logged.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"

e2e_start "${1:-}"

# find_files FOLDER MARK ROWS: fills the list through the two fields and FindButton.
find_files() {
    click "${FOLDER_EDIT[@]}"
    key ctrl+a BackSpace
    type_text "$1"
    click "${MARK_EDIT[@]}"
    key ctrl+a BackSpace
    type_text "$2"
    click "${FIND_BUTTON[@]}"
    wait_shot list list_has_rows "$3" "the search of '$1' for '$2' does not list $3 file(s)"
}

# rename_with MODE PRIMARY [SECONDARY]: chooses the mode, types its texts, starts the batch
# and waits until the list is empty again.
rename_with() {
    click_mode "$1"
    click "${PRIMARY_EDIT[@]}"
    type_text "$2"
    if (($# > 2)); then
        click "${SECONDARY_EDIT[@]}"
        type_text "$3"
    fi
    wait_shot batch rename_enabled "RenameButton is not enabled after choosing $1 and typing '$2'"
    click "${RENAME_BUTTON[@]}"
    wait_shot batch list_has_rows 0 "the list is not empty after the batch"
}

# expect_file PATH CONTENT: the file exists and holds CONTENT.
expect_file() {
    [[ -f $1 ]] || fail "$1 does not exist; the folder holds: $(ls -A "$(dirname "$1")" 2>&1)"
    [[ $(cat "$1") == "$2" ]] || fail "$1 holds '$(cat "$1")', not '$2'"
}
expect_gone() { [[ ! -e $1 ]] || fail "$1 is still there"; }

note "an absolute folder, AddPrefix"
mkdir -p "$WORK/photos"
echo trip >"$WORK/photos/trip.jpg"
echo other >"$WORK/photos/other.png"
find_files "$WORK/photos" trip 1
[[ -e $LOG ]] && fail "the log exists before any rename"
rename_with AddPrefix 2017_
expect_file "$WORK/photos/2017_trip.jpg" trip
expect_gone "$WORK/photos/trip.jpg"
expect_file "$WORK/photos/other.png" other
[[ $(find "$WORK/photos" -mindepth 1 | wc -l) == 2 ]] || fail "photos holds other files: $(ls -A "$WORK/photos")"
first="$WORK/photos/trip.jpg→$WORK/photos/2017_trip.jpg"
expect_log "$first"

note "a relative folder is the program's, InsertFromFront at a position typed as 1a2"
# The program was started in $WORK, which has a photos folder too: it must not be searched.
mkdir -p "$APP_DIR/photos"
echo letters >"$APP_DIR/photos/abcdefghijklmnopqrstuvwxyz0123.txt"
echo decoy >"$WORK/photos/abcdef.txt"
find_files photos abc 1
# Only digits reach the position field: 12, which counts double-byte characters, is the
# 24th byte of the base name. Had the letter gone in, "1a2" would have become 1.
rename_with InsertFromFront + 1a2
expect_file "$APP_DIR/photos/abcdefghijklmnopqrstuvwx+yz0123.txt" letters
expect_gone "$APP_DIR/photos/abcdefghijklmnopqrstuvwxyz0123.txt"
expect_file "$WORK/photos/abcdef.txt" decoy
second="photos/abcdefghijklmnopqrstuvwxyz0123.txt→photos/abcdefghijklmnopqrstuvwx+yz0123.txt"
expect_log "$first" "$second"

note "a target that exists is never replaced, and the attempt is logged"
mkdir -p "$WORK/clash"
echo mine >"$WORK/clash/report.txt"
echo theirs >"$WORK/clash/report_v2.txt"
find_files "$WORK/clash" report. 1
rename_with AddSuffix _v2
expect_file "$WORK/clash/report.txt" mine
expect_file "$WORK/clash/report_v2.txt" theirs
expect_log "$first" "$second" "$WORK/clash/report.txt→$WORK/clash/report_v2.txt"

key Escape
wait_exit
[[ $APP_STATUS == 0 ]] || fail "the program ended with status $APP_STATUS"
echo "PASS"
