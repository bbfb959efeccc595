#!/usr/bin/env bash
# Real XDND drags onto the window, carried by xdotool from a small Qt drag source beside it,
# as a user drags from a file manager or an editor: one file, two files in the order the
# source lists them, a folder searched afterwards with FindButton, text that must be refused,
# and files that come with text. Every list is renamed with AddPrefix "x_", so the rows are
# proven real by what happens on disk and in the log. The drops land on different controls:
# the whole window is the drop area, and the edit fields must not take dragged text.
#
# The drag source comes from $E2E_DRAG_SOURCE or the second argument (ctest passes it).
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"

DRAG_SOURCE=${2:-${E2E_DRAG_SOURCE:-}}
[[ -n $DRAG_SOURCE && -x $DRAG_SOURCE ]] ||
    fail "no drag source: pass it as the second argument or in E2E_DRAG_SOURCE"

e2e_start "${1:-}"

# The window's place on the screen: drops aim at client-area positions.
geometry=$(xwininfo -id "$WID")
WIN_X=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$geometry")
WIN_Y=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$geometry")
# The drag source sits at the top left of the screen, well clear of the centred window.
SOURCE_X=60
SOURCE_Y=60
SOURCE_PID=
SOURCE_OUT=$E2E_TMP/drag.out

stop_source() {
    if [[ -n $SOURCE_PID ]]; then
        kill "$SOURCE_PID" 2>/dev/null || true
        wait "$SOURCE_PID" 2>/dev/null || true
        SOURCE_PID=
    fi
}
# The drag source goes first; e2e_cleanup reads the test's status from $?.
on_exit() {
    local status=$?
    set +e
    stop_source
    (exit "$status")
    e2e_cleanup
}
trap on_exit EXIT

# source_env COMMAND...: runs COMMAND in place of the shell, with the program's environment.
source_env() {
    exec env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR \
        LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$E2E_TMP/runtime" "$@"
}

source_said() { grep -q "^$1" "$SOURCE_OUT"; }

# drag_onto accept|refuse X Y SOURCE-ARGS...: starts a drag source carrying SOURCE-ARGS
# (--file PATH, --text TEXT) and drags from it with the left button held onto the client-area
# position X,Y. For a drag the window should accept, the button is released once the window
# has answered that it takes the drag (a busy machine may be slow to answer); a drag it should
# refuse hovers a moment before the release. Sets DRAG_RESULT to what the source reports at
# the end: "accepted copy", "ignored", ...
drag_onto() {
    local expect=$1 x=$2 y=$3
    shift 3
    : >"$SOURCE_OUT"
    # The subshell becomes the drag source, so that SOURCE_PID is the drag source itself.
    (source_env "$DRAG_SOURCE" --at "$SOURCE_X,$SOURCE_Y" "$@") >"$SOURCE_OUT" 2>"$E2E_TMP/drag.err" &
    SOURCE_PID=$!
    local source_wid=
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until source_wid=$(xdotool search --onlyvisible --pid "$SOURCE_PID" --name '^e2e drag source$' 2>/dev/null |
        head -n 1) &&
        [[ -n $source_wid ]] && xwininfo -id "$source_wid" 2>/dev/null | grep -q 'IsViewable'; do
        kill -0 "$SOURCE_PID" 2>/dev/null || fail "the drag source ended: $(cat "$E2E_TMP/drag.err")"
        ((SECONDS < deadline)) || fail "the drag source's window did not show"
        sleep 0.1
    done
    xdotool mousemove $((SOURCE_X + 60)) $((SOURCE_Y + 40))
    xdotool mousedown 1
    wait_for "the drag source did not start a drag on the press" source_said "drag started"
    # Across the screen in steps, as a hand moves; each motion is one XdndPosition.
    local to_x=$((WIN_X + x)) to_y=$((WIN_Y + y)) from_x=$((SOURCE_X + 60)) from_y=$((SOURCE_Y + 40)) i
    for ((i = 1; i <= 12; i++)); do
        xdotool mousemove $((from_x + (to_x - from_x) * i / 12)) $((from_y + (to_y - from_y) * i / 12))
        sleep 0.03
    done
    # Small moves over the target, each one more XdndPosition, until it answers with XdndStatus.
    if [[ $expect == accept ]]; then
        deadline=$((SECONDS + E2E_TIMEOUT))
        for ((i = 0; ; i++)); do
            xdotool mousemove $((to_x + i % 2)) "$to_y"
            if source_said "drag over copy"; then
                # The answer may be for a position on the way: let the last one be answered too.
                sleep 0.1
                xdotool mousemove "$to_x" "$to_y"
                sleep 0.1
                break
            fi
            ((SECONDS < deadline)) || fail "the window never answered that it takes the drag of $*"
            sleep 0.1
        done
    else
        for ((i = 0; i < 8; i++)); do
            xdotool mousemove $((to_x + i % 2)) "$to_y"
            sleep 0.1
        done
    fi
    xdotool mouseup 1
    wait_for "the drag source did not report the end of the drag" source_said "drag \(accepted\|ignored\)"
    DRAG_RESULT=$(sed -n 's/^drag \(accepted.*\|ignored\)$/\1/p' "$SOURCE_OUT" | head -n 1)
    stop_source
}

# folder_text: the whole text of FolderEdit, taken through the clipboard, with \r and \n
# written as escapes.
folder_text() {
    click "${FOLDER_EDIT[@]}"
    key ctrl+a ctrl+c
    (source_env "$DRAG_SOURCE" --clipboard)
}

expect_folder_text() {
    local text
    text=$(folder_text)
    [[ $text == "$1" ]] || fail "FolderEdit holds '$text', expected '$1'"
}

# rename_listed: AddPrefix "x_" over the whole list; waits until the list is empty.
rename_listed() {
    click_mode AddPrefix
    click "${PRIMARY_EDIT[@]}"
    key ctrl+a BackSpace
    type_text "x_"
    wait_shot batch rename_enabled "RenameButton is not enabled after choosing AddPrefix and typing x_"
    click "${RENAME_BUTTON[@]}"
    wait_shot batch list_has_rows 0 "the list is not empty after the batch"
}

RECORDS=()
# expect_records RECORD...: the log holds the earlier records and then exactly these.
expect_records() {
    RECORDS+=("$@")
    expect_log "${RECORDS[@]}"
}

expect_file() {
    [[ -f $1 ]] || fail "$1 does not exist; the folder holds: $(ls -A "$(dirname "$1")" 2>&1)"
    [[ $(cat "$1") == "$2" ]] || fail "$1 holds '$(cat "$1")', not '$2'"
}
expect_gone() { [[ ! -e $1 ]] || fail "$1 is still there"; }

# Drop points, client-area positions: the list, FolderEdit, MarkEdit, ModeGroup, the
# (disabled) RenameButton.
AT_LIST=(270 110)
AT_FOLDER_EDIT=(200 18)
AT_MARK_EDIT=(140 45)
AT_MODE_GROUP=(200 230)
AT_RENAME_BUTTON=(420 237)

D=$WORK/drop
mkdir -p "$D"

note "one file onto the list: its path in FolderEdit, one row, and that row renames the file"
# A space, CJK, "#" and "%" all travel percent-encoded in the file URL.
one="$D/旅行 #1 100%.txt"
echo one >"$one"
drag_onto accept "${AT_LIST[@]}" --file "$one"
[[ $DRAG_RESULT == "accepted copy" ]] || fail "the drop of one file was not accepted with Copy: '$DRAG_RESULT'"
wait_shot one list_has_rows 1 "the list does not show one row after dropping one file"
expect_folder_text "$one"

note "dragged text is refused, on the list and on the edit fields, and changes nothing"
# Text that reads like a file URL or a path is still text, not a list of files.
other="$D/other.txt"
echo other >"$other"
for case in "list|plain words" "folder|file://$other" "mark|$other"; do
    where=${case%%|*}
    text=${case#*|}
    case $where in
        list) at=("${AT_LIST[@]}") ;;
        folder) at=("${AT_FOLDER_EDIT[@]}") ;;
        mark) at=("${AT_MARK_EDIT[@]}") ;;
    esac
    drag_onto refuse "${at[@]}" --text "$text"
    if [[ $DRAG_RESULT != ignored ]] || source_said "drag over copy"; then
        fail "dragging the text '$text' onto the $where was taken (on its way or there): $(tr '\n' ';' <"$SOURCE_OUT")"
    fi
done
shot "$SHOTS/refused.png"
list_has_rows "$SHOTS/refused.png" 1 || fail "the list changed after refused text drags"
field_empty "$SHOTS/refused.png" 101 35 91 20 || fail "MarkEdit took dragged text"
expect_folder_text "$one"
rename_listed
expect_file "$D/x_旅行 #1 100%.txt" one
expect_gone "$one"
expect_file "$other" other
expect_records "$one→$D/x_旅行 #1 100%.txt"

note "two files in one drag onto ModeGroup: both rows, in the order the source lists them"
# Listed against the alphabet, so that a sorted list would show in the log.
mkdir -p "$D/pair"
echo zeta >"$D/pair/zeta.txt"
echo alpha >"$D/pair/alpha.txt"
drag_onto accept "${AT_MODE_GROUP[@]}" --file "$D/pair/zeta.txt" --file "$D/pair/alpha.txt"
[[ $DRAG_RESULT == "accepted copy" ]] || fail "the drop of two files was not accepted: '$DRAG_RESULT'"
wait_shot pair list_has_rows 2 "the list does not show two rows after dropping two files"
expect_folder_text "$D/pair/zeta.txt\\r\\n$D/pair/alpha.txt\\r\\n"
rename_listed
expect_file "$D/pair/x_zeta.txt" zeta
expect_file "$D/pair/x_alpha.txt" alpha
expect_gone "$D/pair/zeta.txt"
expect_gone "$D/pair/alpha.txt"
expect_records "$D/pair/zeta.txt→$D/pair/x_zeta.txt" "$D/pair/alpha.txt→$D/pair/x_alpha.txt"

note "the root folder: one row, its path as it is"
drag_onto accept "${AT_LIST[@]}" --file /
wait_shot root list_has_rows 1 "the list does not show the one row of the root folder"
expect_folder_text "/"

note "a folder onto RenameButton: one row, the folder in FolderEdit, no search until FindButton"
album=$D/相册
mkdir -p "$album/sub"
echo one >"$album/one.jpg"
echo two >"$album/sub/two.jpg"
# As some file managers send a folder: with a slash at the end, which the path loses.
drag_onto accept "${AT_RENAME_BUTTON[@]}" --file "$album/"
[[ $DRAG_RESULT == "accepted copy" ]] || fail "the drop of a folder was not accepted: '$DRAG_RESULT'"
wait_shot folder list_has_rows 1 "the list does not show the one row of the dropped folder"
expect_folder_text "$album"
# A moment for a search that should not run; the folder's two files would show as rows.
sleep 0.5
shot "$SHOTS/folder.png"
list_has_rows "$SHOTS/folder.png" 1 || fail "the drop of a folder searched it without FindButton"
click "${FIND_BUTTON[@]}"
wait_shot found list_has_rows 2 "FindButton does not list the two files of the dropped folder"
rename_listed
expect_file "$album/x_one.jpg" one
expect_file "$album/sub/x_two.jpg" two
expect_gone "$album/one.jpg"
expect_gone "$album/sub/two.jpg"
# The order of a search is not the drop's concern: the two records in either order.
sorted_tail=$(tail -n 2 "$LOG" | sort | tr -d '\r')
expected_tail=$(printf '%s\n' "$album/one.jpg→$album/x_one.jpg" "$album/sub/two.jpg→$album/sub/x_two.jpg" | sort)
[[ $sorted_tail == "$expected_tail" ]] || fail "the log does not end with the folder's two renames: $(tail -n 2 "$LOG")"
[[ $(wc -l <"$LOG") == 5 ]] || fail "the log holds $(wc -l <"$LOG") records, not 5"
[[ $(tail -c 2 "$LOG" | od -An -tx1 | xargs) == '0d 0a' ]] || fail "the log does not end with CR LF"
RECORDS+=("$(sed -n 4p "$LOG" | tr -d '\r')" "$(sed -n 5p "$LOG" | tr -d '\r')")

note "files with text onto FolderEdit: taken as files, and they replace the rows of a search"
click "${FIND_BUTTON[@]}"
wait_shot rescan list_has_rows 2 "FindButton does not list the folder's renamed files again"
mixed=$D/mixed.txt
echo mixed >"$mixed"
drag_onto accept "${AT_FOLDER_EDIT[@]}" --file "$mixed" --text "some words"
[[ $DRAG_RESULT == "accepted copy" ]] || fail "the drop of a file with text was not accepted: '$DRAG_RESULT'"
wait_shot mixed list_has_rows 1 "the dropped file did not replace the rows of the search"
expect_folder_text "$mixed"
rename_listed
expect_file "$D/x_mixed.txt" mixed
expect_file "$album/x_one.jpg" one
expect_file "$album/sub/x_two.jpg" two
expect_records "$mixed→$D/x_mixed.txt"

key Escape
wait_exit
[[ $APP_STATUS == 0 ]] || fail "the program ended with status $APP_STATUS"
echo "PASS"
