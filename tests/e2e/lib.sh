# Helpers for the end-to-end tests: the real program on its own Xvfb, driven with xdotool.
#
# A test script sources this file and calls e2e_start with the path of the built program:
#
#   . "$(dirname "$0")/lib.sh"
#   e2e_start "$1"
#   click 80 8; type_text "/some/folder"; ...
#
# e2e_start copies the program into a fresh temporary folder (so the rename log lands there,
# in $APP_DIR) and starts it from another folder ($WORK, where fixtures go). Coordinates are
# client-area positions: there is no window manager, so the window has no frame. Everything
# started here is stopped on exit. E2E_KEEP=1 keeps the temporary folder for a look after a
# failure; a screenshot of the window at the moment of a failure is saved there.

# shellcheck disable=SC2034  # the variables set here are for the scripts that source it
set -euo pipefail

# How long to wait for anything the program does, in seconds. The machine may be busy.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-e2e.XXXXXX")
APP_DIR=$E2E_TMP/app
WORK=$E2E_TMP/work
SHOTS=$E2E_TMP/shots
mkdir -p "$APP_DIR" "$WORK" "$SHOTS"
APP=$APP_DIR/vantorel
LOG_NAME='临时日志文件，若不用请删除即可.ini'
LOG=$APP_DIR/$LOG_NAME

XVFB_PID=
APP_PID=
WID=
APP_STATUS=

e2e_cleanup() {
    local status=$?
    if [[ -n $APP_PID ]] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
    fi
    if [[ -n $XVFB_PID ]] && kill -0 "$XVFB_PID" 2>/dev/null; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    if [[ $status -ne 0 || ${E2E_KEEP:-0} == 1 ]]; then
        if [[ ${E2E_KEEP:-0} == 1 ]]; then
            echo "kept $E2E_TMP" >&2
        else
            rm -rf "$E2E_TMP"
        fi
    else
        rm -rf "$E2E_TMP"
    fi
    exit "$status"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "FAIL: $*" >&2
    if [[ -n $WID && -n $APP_PID ]] && kill -0 "$APP_PID" 2>/dev/null; then
        import -window "$WID" "$E2E_TMP/failure.png" 2>/dev/null &&
            echo "window at the failure: $E2E_TMP/failure.png (kept with E2E_KEEP=1)" >&2
    fi
    if [[ -s $E2E_TMP/app.err ]]; then
        echo "--- program's stderr:" >&2
        tail -n 20 "$E2E_TMP/app.err" >&2
    fi
    exit 1
}

note() { echo "-- $*"; }

# expect_log RECORD...: the log beside the program holds exactly these records, in order, each
# "old→new" and CR LF.
expect_log() {
    local expected=$E2E_TMP/expected.log record
    : >"$expected"
    for record in "$@"; do printf '%s\r\n' "$record" >>"$expected"; done
    [[ -f $LOG ]] || fail "no rename log beside the program ($LOG)"
    cmp "$LOG" "$expected" >&2 || {
        echo "log:" >&2; od -c "$LOG" | tail -n 20 >&2
        echo "expected:" >&2; od -c "$expected" | tail -n 20 >&2
        fail "the rename log differs from the records of the renames"
    }
}

# Polls a command until it succeeds; fails with the message after E2E_TIMEOUT seconds.
wait_for() {
    local message=$1
    shift
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until "$@"; do
        ((SECONDS < deadline)) || fail "$message (waited ${E2E_TIMEOUT} s)"
        sleep 0.1
    done
}

start_xvfb() {
    # -displayfd lets the server pick a free display itself and write its number once it
    # accepts connections, so parallel tests cannot race for one display.
    local displayfile=$E2E_TMP/display
    : >"$displayfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$displayfile" >"$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until grep -q '^[0-9][0-9]*$' "$displayfile" 2>/dev/null; do
        kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
        ((SECONDS < deadline)) || fail "Xvfb gave no display number"
        sleep 0.1
    done
    DISPLAY=:$(head -n 1 "$displayfile")
    export DISPLAY
}

# e2e_start PROGRAM: Xvfb, a copy of PROGRAM in $APP_DIR, started from $WORK; sets WID.
e2e_start() {
    local program=${1:-}
    [[ -n $program ]] || fail "usage: $0 path/to/vantorel"
    [[ -x $program ]] || fail "no program at $program"
    for tool in Xvfb xdotool xprop xwininfo import convert compare; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
    done
    cp "$program" "$APP"
    start_xvfb
    (
        cd "$WORK"
        unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR
        export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$E2E_TMP/runtime
        mkdir -m 700 "$XDG_RUNTIME_DIR"
        exec "$APP" >"$E2E_TMP/app.out" 2>"$E2E_TMP/app.err"
    ) &
    APP_PID=$!
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until WID=$(xdotool search --onlyvisible --name '^Vantorel' 2>/dev/null | head -n 1) &&
        [[ -n $WID ]]; do
        kill -0 "$APP_PID" 2>/dev/null || fail "the program ended before its window showed"
        ((SECONDS < deadline)) || fail "no window named Vantorel… appeared"
        sleep 0.1
    done
    wait_for "the window was never viewable" is_viewable
    # Without a window manager nobody gives the window the keyboard focus.
    xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
    # The first paint: the window stops being a blank rectangle once the controls are drawn.
    wait_for "the window was never painted" window_painted
}

is_viewable() { xwininfo -id "$WID" 2>/dev/null | grep -q 'Map State: IsViewable'; }

window_painted() {
    shot "$SHOTS/first.png" 2>/dev/null || return 1
    # The white inside FolderEdit and the darker caption of FolderLabel both exist.
    [[ $(white_fraction "$SHOTS/first.png" 90 11 360 14) == 1.000 ]] &&
        (($(darkest "$SHOTS/first.png" 8 8 72 24) < 100))
}

# --- input ------------------------------------------------------------------------------

# click X Y: a left click at a client-area position.
click() {
    xdotool mousemove --window "$WID" "$1" "$2" click 1
}

# type_text TEXT: types TEXT into whatever has the focus; CJK characters included.
type_text() {
    xdotool type --delay 40 -- "$1"
}

# key KEY...: presses keys by their X names (Escape, BackSpace, Tab, ctrl+a).
key() {
    xdotool key --delay 40 "$@"
}

# --- screenshots and what they show ----------------------------------------------------

# shot FILE: the window's client area as a PNG.
shot() {
    import -window "$WID" "$1"
}

# darkest FILE X Y W H: the lowest grey level (0..255) inside the rectangle.
darkest() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray \
        -format '%[fx:int(255*minima+0.5)]' info:
}

# white_fraction FILE X Y W H: the share of pure white pixels in the rectangle, as 0.000..1.000.
white_fraction() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -threshold 99.9% \
        -format '%[fx:mean]' info: | awk '{ printf "%.3f\n", $1 }'
}

# crop FILE X Y W H OUT: cuts the rectangle out of a screenshot.
crop() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage "$6"
}

# same_pixels A B: succeeds when two images are identical.
same_pixels() {
    [[ $(compare -metric AE "$1" "$2" null: 2>&1 || true) == 0 ]]
}

# --- the process -------------------------------------------------------------------------

# wait_exit: waits for the program to end and sets APP_STATUS; fails after E2E_TIMEOUT.
wait_exit() {
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while kill -0 "$APP_PID" 2>/dev/null; do
        # A zombie has ended; wait below collects its status.
        [[ $(ps -o stat= -p "$APP_PID" 2>/dev/null) == Z* ]] && break
        ((SECONDS < deadline)) || fail "the program is still running after ${E2E_TIMEOUT} s"
        sleep 0.1
    done
    APP_STATUS=0
    wait "$APP_PID" || APP_STATUS=$?
    APP_PID=
}

# --- the window's controls, client-area positions ------------------------------------------

FOLDER_EDIT=(90 18)
MARK_EDIT=(140 45)
FIND_BUTTON=(238 46)
PRIMARY_EDIT=(460 178)
SECONDARY_EDIT=(460 200)
RENAME_BUTTON=(420 237)
# Rectangles (x y w h) of what the tests look at.
PRIMARY_RECT=(392 168 144 20)
SECONDARY_RECT=(392 190 144 20)
RENAME_RECT=(304 219 233 37)

# The mode buttons' places inside ModeGroup, which lies at 6,158.
declare -A MODE_PLACE=(
    [AddPrefix]="10 12" [AddSuffix]="10 29" [ReplaceText]="10 46"
    [InsertFromFront]="10 63" [InsertFromBack]="10 80"
    [SplitKeepFront]="120 10" [SplitKeepBack]="120 33"
    [KeywordWithFront]="120 56" [KeywordWithBack]="120 78"
)
MODES=(AddPrefix AddSuffix ReplaceText InsertFromFront InsertFromBack
       SplitKeepFront SplitKeepBack KeywordWithFront KeywordWithBack)

# click_mode NAME: clicks a mode button on its caption. The buttons of the left column
# overlap (24 px high, 17 px apart), so the click aims at the upper part of a button's own
# strip, which no later sibling covers.
click_mode() {
    [[ -n ${MODE_PLACE[$1]:-} ]] || fail "no mode button $1"
    local gx gy
    read -r gx gy <<<"${MODE_PLACE[$1]}"
    click $((6 + gx + 30)) $((158 + gy + 10))
}

# mode_checked FILE NAME: succeeds when the screenshot shows the button's indicator checked
# (the dot in the middle of the circle is dark; an empty circle is light grey).
mode_checked() {
    local gx gy
    read -r gx gy <<<"${MODE_PLACE[$2]}"
    (($(darkest "$1" $((6 + gx)) $((158 + gy + 9)) 18 6) < 100))
}

# What the window shows, judged on a screenshot.
# field_shown FILE X Y W H: an edit field is shown when its inside is white (the window's
# background is grey).
field_shown() {
    local white
    white=$(white_fraction "$1" $(($2 + 4)) $(($3 + 3)) $(($4 - 8)) $(($5 - 6)))
    awk -v w="$white" 'BEGIN { exit !(w > 0.5) }'
}
field_hidden() {
    local white
    white=$(white_fraction "$1" $(($2 + 4)) $(($3 + 3)) $(($4 - 8)) $(($5 - 6)))
    awk -v w="$white" 'BEGIN { exit !(w < 0.05) }'
}
# rename_enabled FILE: the caption of RenameButton is black when enabled, grey when not.
rename_enabled() { (($(darkest "$1" "${RENAME_RECT[@]}") < 80)); }
rename_disabled() { (($(darkest "$1" "${RENAME_RECT[@]}") > 120)); }
# list_rows FILE: how many of the list's first rows hold text (rows are 17 px from y 84).
list_rows() {
    local rows=0 y
    for ((y = 84; y + 17 <= 153; y += 17)); do
        (($(darkest "$1" 6 "$y" 538 17) < 100)) && rows=$((rows + 1))
    done
    echo "$rows"
}

# ink_columns FILE X Y W H: how many pixel columns of the rectangle hold a dark pixel. A text
# cursor is one column; a word is many.
ink_columns() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -threshold 40% -negate \
        -scale "${4}x1!" -threshold 0 -format '%[fx:int(mean*w+0.5)]\n' info:
}
# field_has_text FILE X Y W H / field_empty FILE X Y W H: judged inside the field's border.
field_has_text() { (($(ink_columns "$1" $(($2 + 3)) $(($3 + 3)) $(($4 - 6)) $(($5 - 6))) > 3)); }
field_empty() { (($(ink_columns "$1" $(($2 + 3)) $(($3 + 3)) $(($4 - 6)) $(($5 - 6))) <= 2)); }

list_has_rows() { [[ $(list_rows "$1") == "$2" ]]; }

# wait_shot NAME CHECK [ARGS...] MESSAGE: screenshots until CHECK FILE ARGS... succeeds.
wait_shot() {
    local name=$1 check=$2
    shift 2
    local message=${*: -1}
    local args=("${@:1:$#-1}")
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until shot "$SHOTS/$name.png" && "$check" "$SHOTS/$name.png" "${args[@]}"; do
        ((SECONDS < deadline)) || fail "$message (see $SHOTS/$name.png)"
        sleep 0.2
    done
}
