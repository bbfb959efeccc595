#!/usr/bin/env bash
# The fields that each mode lays out, the integer-only position field of the insertion modes
# and RenameButton's enabled state, as the window shows them.
# With E2E_SCREENSHOT_DIR set, the insertion mode's layout is saved there as insert_mode.png.
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"

e2e_start "${1:-}"

note "each mode shows PrimaryEdit, and SecondaryEdit only for the modes with a second text"
# Every mode that hides SecondaryEdit follows one that shows it, so each hiding is seen.
for step in AddPrefix:hidden ReplaceText:shown SplitKeepFront:hidden InsertFromFront:shown \
    SplitKeepBack:hidden InsertFromBack:shown KeywordWithFront:hidden ReplaceText:shown \
    KeywordWithBack:hidden InsertFromFront:shown AddSuffix:hidden; do
    mode=${step%%:*} secondary=${step##*:}
    click_mode "$mode"
    wait_shot layout "field_$secondary" "${SECONDARY_RECT[@]}" "SecondaryEdit is not $secondary after choosing $mode"
    field_shown "$SHOTS/layout.png" "${PRIMARY_RECT[@]}" || fail "PrimaryEdit is hidden after choosing $mode"
    mode_checked "$SHOTS/layout.png" "$mode" || fail "the button of $mode is not selected after a click on it"
    for other in "${MODES[@]}"; do
        [[ $other == "$mode" ]] && continue
        mode_checked "$SHOTS/layout.png" "$other" && fail "$other is still selected besides $mode"
    done
    # Choosing a mode disables RenameButton until PrimaryEdit holds text.
    rename_disabled "$SHOTS/layout.png" || fail "RenameButton is enabled right after choosing $mode"
done

note "RenameButton is enabled exactly while PrimaryEdit holds text, a blank included"
click "${PRIMARY_EDIT[@]}"
type_text " "
wait_shot button rename_enabled "a blank in PrimaryEdit does not enable RenameButton"
key BackSpace
wait_shot button rename_disabled "emptying PrimaryEdit does not disable RenameButton"
# Text in SecondaryEdit alone does not count.
click_mode ReplaceText
click "${SECONDARY_EDIT[@]}"
type_text "old"
wait_shot replace field_has_text "${SECONDARY_RECT[@]}" "SecondaryEdit does not show the text typed into it"
rename_disabled "$SHOTS/replace.png" || fail "text in SecondaryEdit alone enabled RenameButton"
# Choosing the selected mode again empties both fields and disables the button.
click "${PRIMARY_EDIT[@]}"
type_text "a"
wait_shot button rename_enabled "typing into PrimaryEdit does not enable RenameButton"
click_mode ReplaceText
wait_shot button rename_disabled "choosing the selected mode again leaves RenameButton enabled"
field_empty "$SHOTS/button.png" "${SECONDARY_RECT[@]}" ||
    fail "choosing the selected mode again leaves SecondaryEdit's text"
field_empty "$SHOTS/button.png" "${PRIMARY_RECT[@]}" ||
    fail "choosing the selected mode again leaves PrimaryEdit's text"

# position_field MODE TYPED NAME: chooses MODE, types TYPED into SecondaryEdit, moves the focus
# to PrimaryEdit (the position field is normalised when it loses the focus) and types there
# so that RenameButton's change shows when the window has handled every key; then saves
# SecondaryEdit as $SHOTS/NAME.png.
position_field() {
    click_mode "$1"
    wait_shot button rename_disabled "choosing $1 leaves RenameButton enabled"
    click "${SECONDARY_EDIT[@]}"
    [[ -n $2 ]] && type_text "$2"
    click "${PRIMARY_EDIT[@]}"
    type_text "x"
    wait_shot button rename_enabled "typing into PrimaryEdit does not enable RenameButton"
    crop "$SHOTS/button.png" "${SECONDARY_RECT[@]}" "$SHOTS/$3.png"
}

note "the position field of the insertion modes takes integers only"
# What is typed, and what the field must show once the focus has left it (as if typed so).
cases=(
    "1a2|12"                   # letters are dropped as they are typed
    "3.+4|34"                  # so are "." and "+"
    "007|7"                    # leading zeros go on leaving
    "-0|"                      # zero is shown as nothing
    "5-3|5"                    # digits after a stray "-" are not part of the number
    "99999999999|2147483647"   # clamped to 32 bits
    "-99999999999|-2147483648"
)
position_field InsertFromFront "" empty_position
for entry in "${cases[@]}"; do
    typed=${entry%%|*} shown=${entry#*|}
    position_field InsertFromFront "$shown" "expected_${shown:-empty}"
    position_field InsertFromFront "$typed" "typed_$typed"
    same_pixels "$SHOTS/typed_$typed.png" "$SHOTS/expected_${shown:-empty}.png" ||
        fail "typing '$typed' into the position field does not leave '$shown' (see $SHOTS/typed_$typed.png)"
done
# The comparison sees text: a field showing 12 differs from an empty one.
same_pixels "$SHOTS/expected_12.png" "$SHOTS/empty_position.png" &&
    fail "the position field looks the same with 12 and empty: the crop misses the text"
# Pasted text is not filtered, but it is normalised when the focus leaves: 12ab becomes 12.
click_mode InsertFromFront
click "${PRIMARY_EDIT[@]}"
type_text "12ab"
key ctrl+a ctrl+c BackSpace
wait_shot button rename_disabled "emptying PrimaryEdit does not disable RenameButton"
click "${SECONDARY_EDIT[@]}"
key ctrl+v
click "${PRIMARY_EDIT[@]}"
type_text "x"
wait_shot button rename_enabled "typing into PrimaryEdit does not enable RenameButton"
crop "$SHOTS/button.png" "${SECONDARY_RECT[@]}" "$SHOTS/pasted_12ab.png"
same_pixels "$SHOTS/pasted_12ab.png" "$SHOTS/expected_12.png" ||
    fail "12ab pasted into the position field does not become 12 (see $SHOTS/pasted_12ab.png)"
# The same holds in the other insertion mode, and ReplaceText lifts the restriction.
position_field InsertFromBack 1a2 back_1a2
same_pixels "$SHOTS/back_1a2.png" "$SHOTS/expected_12.png" ||
    fail "InsertFromBack's position field does not turn 1a2 into 12"
position_field ReplaceText 1a2 replace_1a2
same_pixels "$SHOTS/replace_1a2.png" "$SHOTS/expected_12.png" &&
    fail "after the insertion modes, ReplaceText's field still drops letters"
same_pixels "$SHOTS/replace_1a2.png" "$SHOTS/empty_position.png" &&
    fail "ReplaceText's field does not show 1a2"

note "the insertion mode's layout"
click_mode InsertFromFront
click "${PRIMARY_EDIT[@]}"
type_text "前缀_"
click "${SECONDARY_EDIT[@]}"
type_text "2"
click "${PRIMARY_EDIT[@]}"
wait_shot insert_mode rename_enabled "typing into PrimaryEdit does not enable RenameButton"
(($(darkest "$SHOTS/insert_mode.png" 298 168 93 20) < 100)) || fail "PrimaryLabel shows no caption"
(($(darkest "$SHOTS/insert_mode.png" 298 189 93 20) < 100)) || fail "SecondaryLabel shows no caption"
if [[ -n ${E2E_SCREENSHOT_DIR:-} ]]; then
    mkdir -p "$E2E_SCREENSHOT_DIR"
    cp "$SHOTS/insert_mode.png" "$E2E_SCREENSHOT_DIR/insert_mode.png"
    note "saved $E2E_SCREENSHOT_DIR/insert_mode.png"
fi

key Escape
wait_exit
[[ $APP_STATUS == 0 ]] || fail "the program ended with status $APP_STATUS"
echo "PASS"
