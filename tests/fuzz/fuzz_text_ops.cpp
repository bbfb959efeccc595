// Feeds arbitrary bytes to every text operation and to the rename rule in each mode, and traps
// on any result that breaks an invariant the rest of the program relies on.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "engine/rename_rules.h"
#include "engine/text_ops.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void checkText(const ByteText& text) {
    check(text.bytes().find('\0') == std::string::npos);
}

ByteText takeText(FuzzedDataProvider& data) {
    const std::string raw = data.ConsumeRandomLengthString(64);
    const ByteText text(std::string_view{raw});
    checkText(text);
    // Built from bytes with a 0 in them, a text holds what came before it.
    check(text.bytes() == raw.substr(0, raw.find('\0')));
    check(ByteText(std::string(raw)) == text);
    return text;
}

void checkCuts(const ByteText& text, int32_t count) {
    const ByteText left = leftText(text, count);
    const ByteText right = rightText(text, count);
    checkText(left);
    checkText(right);
    const std::size_t len = text.size();
    const std::size_t expected =
        count <= 0 ? 0 : (static_cast<std::size_t>(count) >= len ? len : std::size_t(count));
    check(left.size() == expected && right.size() == expected);
    check(text.view().substr(0, expected) == left.view());
    check(text.view().substr(len - expected) == right.view());
}

void checkSplit(const ByteText& text, const ByteText& delimiter) {
    const TextList pieces = splitText(text, delimiter);
    if (text.empty()) {
        check(pieces.empty());
        return;
    }
    check(!pieces.empty());
    std::string joined;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        checkText(pieces[k]);
        if (k > 0) joined += delimiter.bytes();
        joined += pieces[k].bytes();
        // A piece holds no delimiter at its own character starts.
        if (!delimiter.empty()) check(findText(pieces[k], delimiter, false) == -1);
    }
    if (delimiter.empty()) {
        check(pieces.size() == 1 && pieces[0] == text);
        return;
    }
    // Joined back, the pieces give the text, less one delimiter that ended it.
    check(joined == text.bytes() || joined + delimiter.bytes() == text.bytes());
}

void checkReplace(const ByteText& text, const ByteText& from, const ByteText& to) {
    const ByteText replaced = replaceAll(text, from, to);
    checkText(replaced);
    if (from.empty() || findText(text, from, false) == -1) check(replaced == text);
    if (from == to) check(replaced == text);
    // Replacing is splitting and joining with the replacement, up to a trailing occurrence.
    if (!from.empty() && !text.empty()) {
        const TextList pieces = splitText(text, from);
        std::string joined;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            if (k > 0) joined += to.bytes();
            joined += pieces[k].bytes();
        }
        std::string joinedWithFrom;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            if (k > 0) joinedWithFrom += from.bytes();
            joinedWithFrom += pieces[k].bytes();
        }
        if (joinedWithFrom != text.bytes()) joined += to.bytes();
        check(replaced.bytes() == joined);
    }
}

void checkFind(const ByteText& text, const ByteText& needle) {
    const int32_t exact = findText(text, needle, false);
    const int32_t folded = findText(text, needle, true);
    check(exact == -1 || (exact >= 1 && std::size_t(exact) + needle.size() - 1 <= text.size()));
    check(folded == -1 || (folded >= 1 && std::size_t(folded) + needle.size() - 1 <= text.size()));
    // Ignoring case finds at least what the exact search finds, never later.
    if (exact != -1) check(folded != -1 && folded <= exact);
    if (exact > 0 && !needle.empty()) {
        check(std::memcmp(text.bytes().data() + exact - 1, needle.bytes().data(), needle.size()) ==
              0);
    }
}

void checkCompare(const ByteText& a, const ByteText& b) {
    const int ab = compareText(a, b);
    const int ba = compareText(b, a);
    check(ab == -1 || ab == 0 || ab == 1);
    check(ab == -ba);
    check((ab == 0) == (a == b));
    check(compareText(a, a) == 0);
}

void checkConcat(const ByteText& a, const ByteText& b, const ByteText& c) {
    const ByteText joined = concatText(a, b, c);
    checkText(joined);
    check(joined.size() == a.size() + b.size() + c.size());
    check(joined.bytes() == a.bytes() + b.bytes() + c.bytes());
    const ByteSequence bytes = concatBytes(toBytes(a), toBytes(b));
    check(bytes.size() == a.size() + b.size());
}

void checkRules(const ByteText& name, const ByteText& path, const ByteText& primary,
                const ByteText& secondary) {
    const bool twoPieces = splitText(name, ".").size() >= 2;
    for (int m = 0; m <= static_cast<int>(RenameMode::InsertFromBack); ++m) {
        const auto mode = static_cast<RenameMode>(m);
        const RuleResult result = applyRenameRule({name, path}, {mode, primary, secondary});
        checkText(result.newPath);
        if (!twoPieces) {
            check(result.outcome == RuleOutcome::OutsideLimits);
        } else if (mode == RenameMode::NoMode) {
            check(result.outcome == RuleOutcome::NoMode);
        } else if (mode == RenameMode::ReplaceText) {
            check(result.outcome == RuleOutcome::NewPath);
            check(result.newPath == replaceAll(path, primary, secondary));
        }
        if (result.outcome != RuleOutcome::NewPath) check(result.newPath.empty());
        // The modes that replace the base name leave the path alone when the base name is empty.
        if (result.outcome == RuleOutcome::NewPath && mode != RenameMode::ReplaceText &&
            baseName(name).empty()) {
            check(result.newPath == path);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const ByteText a = takeText(data);
    const ByteText b = takeText(data);
    const ByteText c = takeText(data);
    const ByteText d = takeText(data);
    const int32_t count = data.ConsumeIntegral<int32_t>();
    const double real = data.ConsumeFloatingPoint<double>();

    for (const ByteText* text : {&a, &b, &c, &d}) {
        checkCuts(*text, count);
        checkCuts(*text, static_cast<int32_t>(text->size()) - (count & 3));
        check(textLength(*text) == static_cast<int32_t>(text->size()));
        check(toBytes(*text) == text->bytes());
        toInteger(*text);  // any text parses; the sanitizers watch the arithmetic
    }
    checkSplit(a, b);
    checkSplit(a, ".");
    checkSplit(b, a);
    checkReplace(a, b, c);
    checkReplace(c, d, a);
    checkFind(a, b);
    checkFind(b, c);
    checkCompare(a, b);
    checkCompare(c, d);
    checkConcat(a, b, c);

    // Decimal text of any 32-bit value reads back as that value.
    check(toInteger(ByteText(std::to_string(count).c_str())) == count);
    // Whole numbers below 2^53 come back as their low 32 bits.
    const int64_t whole =
        data.ConsumeIntegralInRange<int64_t>(-(int64_t{1} << 53), int64_t{1} << 53);
    check(truncateToInteger(static_cast<double>(whole)) ==
          static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole))));
    truncateToInteger(real);

    checkRules(a, b, c, d);
    const ByteText dotted = concatText(a, ByteText("."), c);
    checkRules(dotted, concatText(b, dotted), d, c);
    return 0;
}
