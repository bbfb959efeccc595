#!/usr/bin/env bash
# The window as the X server and the user see it: its name, its fixed size, its place, the
# state of the controls at start, typing into the folder and mark fields, and Esc.
# With E2E_SCREENSHOT_DIR set, the filled window is saved there as window.png.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"

e2e_start "${1:-}"

note "the title, byte for byte"
expected_title='Vantorel1.0      ＢＹ：Quessin'
# xprop prints each byte of the property as a number: no locale can alter what is compared.
title_bytes=$(xprop -id "$WID" -notype -f _NET_WM_NAME 8c '=$0+\n' _NET_WM_NAME | sed 's/^_NET_WM_NAME=//')
expected_bytes=$(printf '%s' "$expected_title" | od -An -tu1 -v | xargs | sed 's/ /, /g')
[[ $title_bytes == "$expected_bytes" ]] ||
    fail "_NET_WM_NAME holds bytes [$title_bytes], expected [$expected_bytes]"
title=$(LC_ALL=C.UTF-8 xdotool getwindowname "$WID")
[[ $title == "$expected_title" ]] || fail "WM_NAME reads '$title', expected '$expected_title'"

note "fixed size 550x268, no minimise or maximise box"
hints=$(xprop -id "$WID" WM_NORMAL_HINTS)
grep -q 'program specified minimum size: 550 by 268' <<<"$hints" ||
    fail "minimum size is not 550x268: $hints"
grep -q 'program specified maximum size: 550 by 268' <<<"$hints" ||
    fail "maximum size is not 550x268: $hints"
geometry=$(xwininfo -id "$WID")
width=$(awk '/^ *Width:/ { print $2 }' <<<"$geometry")
height=$(awk '/^ *Height:/ { print $2 }' <<<"$geometry")
[[ $width == 550 && $height == 268 ]] || fail "the client area is ${width}x$height, not 550x268"
# _MOTIF_WM_HINTS: flags, functions, decorations. Functions: 1 all, 8 minimise,
# 16 maximise. Decorations: 1 all, 32 minimise box, 64 maximise box.
motif=$(xprop -id "$WID" _MOTIF_WM_HINTS)
read -r flags functions decorations _ < <(sed 's/.*= //; s/,//g' <<<"$motif")
[[ -n $decorations ]] || fail "no _MOTIF_WM_HINTS: $motif"
((flags & 1)) && ((functions & (1 | 8 | 16))) && fail "the window can be minimised or maximised: $motif"
((flags & 2)) && ((decorations & (1 | 32 | 64))) && fail "the frame gets a minimise or maximise box: $motif"

note "centred on the 1280x1024 screen (no window manager: the outer size is the client area)"
left=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$geometry")
top=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$geometry")
[[ $left == $(((1280 - width) / 2)) && $top == $(((1024 - height) / 2)) ]] ||
    fail "the window is at $left,$top, not centred"

note "state at start"
shot "$SHOTS/start.png"
field_hidden "$SHOTS/start.png" "${PRIMARY_RECT[@]}" || fail "PrimaryEdit is shown at start"
field_hidden "$SHOTS/start.png" "${SECONDARY_RECT[@]}" || fail "SecondaryEdit is shown at start"
(($(darkest "$SHOTS/start.png" 298 168 93 45) > 200)) ||
    fail "a caption is shown beside the hidden mode fields at start"
rename_disabled "$SHOTS/start.png" || fail "RenameButton is enabled at start"
[[ $(list_rows "$SHOTS/start.png") == 0 ]] || fail "the list is not empty at start"
field_empty "$SHOTS/start.png" 101 35 91 20 || fail "MarkEdit is not empty at start"
field_empty "$SHOTS/start.png" 80 8 384 20 || fail "FolderEdit is not empty at start"
for mode in "${MODES[@]}"; do
    mode_checked "$SHOTS/start.png" "$mode" && fail "mode button $mode is selected at start"
done

note "a folder and a mark typed into their fields reach the search"
mkdir -p "$WORK/相册"
touch "$WORK/相册/trip.jpg" "$WORK/相册/other.png"
click "${FOLDER_EDIT[@]}"
type_text "$WORK/相册"
click "${MARK_EDIT[@]}"
type_text "TRIP"
click "${FIND_BUTTON[@]}"
# Only trip.jpg holds the mark (case is ignored).
wait_shot found list_has_rows 1 "the list does not show the one file whose name holds TRIP"
shot "$SHOTS/found.png"
rename_disabled "$SHOTS/found.png" || fail "RenameButton is enabled before a mode is chosen"

if [[ -n ${E2E_SCREENSHOT_DIR:-} ]]; then
    # The picture of the README: a relative folder keeps temporary paths out of it.
    mkdir -p "$APP_DIR/photos"
    touch "$APP_DIR/photos/trip.jpg" "$APP_DIR/photos/trip_notes.txt" "$APP_DIR/photos/beach.png"
    click "${FOLDER_EDIT[@]}"
    key ctrl+a BackSpace
    type_text "photos"
    click "${FIND_BUTTON[@]}"
    wait_shot readme list_has_rows 2 "the relative folder photos was not searched in the program's folder"
    click_mode AddPrefix
    click "${PRIMARY_EDIT[@]}"
    type_text "2017_"
    wait_shot readme rename_enabled "RenameButton is not enabled after typing a prefix"
    mkdir -p "$E2E_SCREENSHOT_DIR"
    cp "$SHOTS/readme.png" "$E2E_SCREENSHOT_DIR/window.png"
    note "saved $E2E_SCREENSHOT_DIR/window.png"
fi

note "Esc in MarkEdit closes the window and ends the program"
click "${MARK_EDIT[@]}"
key Escape
wait_exit
[[ $APP_STATUS == 0 ]] || fail "the program ended with status $APP_STATUS after Esc"
echo "PASS"
