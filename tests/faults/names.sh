#!/bin/bash
# Trees and names that a scan and a batch must survive: loops of symbolic links, a chain of
# folders deeper than the path limit, names at the 255-byte limit, line breaks in names,
# names that are not UTF-8 and every byte a Linux name may hold. The scan ends, the batch
# ends, nothing is lost, and every name the program can express is renamed as the rule says.
. "$(dirname "$0")/lib.sh"

# suffixed NAME...: sets SUFFIXED to the names as the suffix "_s" renames them (the base is
# the part before the first ".", and each base here occurs once in its path).
suffixed() {
    local name base
    SUFFIXED=()
    for name; do
        base=${name%%.*}
        SUFFIXED+=("${base}_s${name#"$base"}")
    done
}
batch_suffix() { drive -- --folder "$TREE" --mode $ADD_SUFFIX --primary _s; }

case_link_loop() {
    put "$TREE/f+1.txt" "$TREE/sub+/f+2.txt"
    ln -s . "$TREE/loop+"
    ln -s .. "$TREE/sub+/up+"
    ln -s "$TREE" "$TREE/sub+/top+"
    ln -s a+ "$TREE/b+"
    ln -s b+ "$TREE/a+"
    ln -s f+1.txt "$TREE/fl+.txt"
    ln -s nowhere+ "$TREE/dl+.txt"
    take_before
    batch_suffix
    # Links to folders are not entered; a+ and b+ (a loop, listed as files) have no extension
    # to split at and are passed over.
    expect_listed 6
    expect_names "$TREE" f+1_s.txt sub+/f+2_s.txt loop+ sub+/up+ sub+/top+ a+ b+ fl+_s.txt dl+_s.txt
    verify 4
    [[ $(readlink "$TREE/fl+_s.txt") == f+1.txt ]] || fail "the renamed link points elsewhere"
}

case_deep() {
    # Folders of 200 bytes down to one whose path is 3994 bytes long; below it, folders past
    # the 4095-byte limit. In the last reachable folder, h+1's new path is one byte too long
    # and h+2's just fits.
    local dirs=() top=${#TREE} name
    local n=$(((3994 - top - 2) / 201))
    local last=$((3994 - top - 201 * n - 1))
    name=$(printf 'd%.0s' {1..200})
    local i path=$TREE expected=() rel=
    for ((i = 0; i < n; i++)); do dirs+=("$name"); done
    dirs+=("$(printf 'e%.0s' $(seq "$last"))")
    local h1 h2
    h1=h+1$(printf 'x%.0s' {1..92}).txt
    h2=h+2$(printf 'x%.0s' {1..91}).txt
    (
        cd "$TREE"
        for ((i = 0; i < ${#dirs[@]}; i++)); do
            echo "level $i" >"f+$i.txt"
            mkdir "${dirs[i]}"
            cd "${dirs[i]}"
        done
        echo "h1" >"$h1"
        echo "h2" >"$h2"
        echo "h3" >h+3.txt
        for i in 1 2 3; do
            mkdir "$name"
            cd "$name"
            echo "too deep $i" >"f+deep$i.txt"
        done
    )
    for ((i = 0; i < ${#dirs[@]}; i++)); do
        expected+=("${rel}f+${i}_s.txt")
        rel+=${dirs[i]}/
        path+=/${dirs[i]}
    done
    ((${#path} == 3994)) || fail "the test built a folder path of ${#path} bytes, not 3994"
    suffixed "$h1" "$h2"
    expected+=("$rel$h1" "$rel${SUFFIXED[1]}" "${rel}h+3_s.txt")
    rel+=$name/
    for i in 1 2 3; do
        expected+=("${rel}f+deep$i.txt")
        rel+=$name/
    done
    take_before
    batch_suffix
    expect_listed $((${#dirs[@]} + 3))
    expect_names "$TREE" "${expected[@]}"
    verify $((${#dirs[@]} + 3))
    expect_record "$path/$h1" "$path/${SUFFIXED[0]}"
}

case_long() {
    # 255 bytes is the longest name: the suffix fits on 253-byte names, ASCII or not, and
    # fails on 254 and 255.
    local x246 han82
    x246=$(printf 'x%.0s' {1..246})
    han82=$(printf '中%.0s' {1..82})
    local names=("l+1${x246}xx.txt" "l+2${x246}.txt" "l+3${han82}.txt" "l+4${han82}x.txt")
    local name
    for name in "${names[@]}"; do put "$TREE/$name"; done
    ((${#names[0]} == 255 && ${#names[1]} == 253 && ${#names[2]} == 253 && ${#names[3]} == 254)) ||
        fail "the test's names do not have the lengths meant"
    take_before
    batch_suffix
    expect_listed 4
    suffixed "${names[@]}"
    expect_names "$TREE" "${names[0]}" "${SUFFIXED[1]}" "${SUFFIXED[2]}" "${names[3]}"
    verify 4
    expect_record "$TREE/${names[0]}" "$TREE/${SUFFIXED[0]}"
    expect_record "$TREE/${names[2]}" "$TREE/${SUFFIXED[2]}"
}

case_line_breaks() {
    # Each record stays one line: CR and LF inside paths are written as \r and \n, so no name
    # can forge a record of its own.
    local names=("n+1"$'\n'"x.txt" "n+2"$'\r'".txt" "n+3"$'\r\n'".txt" "n+4.t"$'\n'"t"
        "n+5"$'\r\n'"forged$ARROW"$'\r\n'"x.txt")
    local name renamed=()
    for name in "${names[@]}"; do put "$TREE/$name"; done
    take_before
    drive -- --folder "$TREE" --mode $ADD_PREFIX --primary p_
    expect_listed 5
    for name in "${names[@]}"; do renamed+=("p_$name"); done
    expect_names "$TREE" "${renamed[@]}"
    verify 5
    for name in "${names[@]}"; do expect_record "$TREE/$name" "$TREE/p_$name"; done
}

case_invalid_utf8() {
    # Names that are not UTF-8 cannot be written back exactly and are never listed; nor is
    # anything inside a folder with such a name. Valid names that look like what a lossy
    # conversion of them would give ("?" or U+FFFD in place of the bad byte) are renamed on
    # their own.
    local bad=($'v+1\xff.txt' $'v+2\xc3.txt' $'v+3\xc0\xaf.txt' $'v+4\xed\xa0\x80.txt'
        $'v+5\xf5\x80\x80\x80.txt' $'v+8\xff.txt' $'v+9\xff.txt' $'w+\xff/v+7.txt')
    local good=('v+6.txt' 'v+8?.txt' $'v+9\xef\xbf\xbd.txt')
    local name renamed=()
    for name in "${bad[@]}" "${good[@]}"; do put "$TREE/$name"; done
    take_before
    drive -- --folder "$TREE" --mode $ADD_PREFIX --primary p_
    expect_listed ${#good[@]}
    for name in "${good[@]}"; do renamed+=("p_$name"); done
    expect_names "$TREE" "${bad[@]}" "${renamed[@]}"
    verify ${#good[@]}
}

case_all_bytes() {
    # One file per byte 0x01..0xFF but "/": "b+<byte>.txt". Alone, the bytes from 0x80 are not
    # UTF-8 and stay; so four more names carry them inside valid characters: every trailing
    # byte (U+0080..U+00BF) and every leading byte of two, three and four bytes.
    local byte name valid=() invalid=() seq=
    for ((byte = 1; byte < 256; byte++)); do
        ((byte == 0x2F)) && continue
        printf -v name "b+\\x$(printf %02x $byte).txt"
        if ((byte < 0x80)); then valid+=("$name"); else invalid+=("$name"); fi
    done
    seq=u+1
    for ((byte = 0x80; byte < 0xC0; byte++)); do printf -v seq "%s\\xc2\\x$(printf %02x $byte)" "$seq"; done
    valid+=("$seq.txt")
    seq=u+2
    for ((byte = 0xC3; byte < 0xE0; byte++)); do printf -v seq "%s\\x$(printf %02x $byte)\\x80" "$seq"; done
    valid+=("$seq.txt")
    seq=u+3$'\xe0\xa0\x80'
    for ((byte = 0xE1; byte < 0xF0; byte++)); do printf -v seq "%s\\x$(printf %02x $byte)\\x80\\x80" "$seq"; done
    valid+=("$seq.txt")
    seq=u+4$'\xf0\x90\x80\x80'
    for ((byte = 0xF1; byte < 0xF5; byte++)); do printf -v seq "%s\\x$(printf %02x $byte)\\x80\\x80\\x80" "$seq"; done
    valid+=("$seq.txt")
    for name in "${valid[@]}" "${invalid[@]}"; do put "$TREE/$name"; done
    (($(find "$TREE" -type f -printf x | wc -c) == 254 + 4)) || fail "the test could not make every name"
    take_before
    batch_suffix
    expect_listed ${#valid[@]}
    suffixed "${valid[@]}"
    expect_names "$TREE" "${invalid[@]}" "${SUFFIXED[@]}"
    verify ${#valid[@]}
}

run_case
