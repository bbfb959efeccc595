// Arbitrary bytes through both code page conversions and the rename rules: whatever converts
// exactly one way must convert back to the very same bytes, and nothing may crash.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/rename_rules.h"
#include "platform/code_page.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void roundTripFromUtf8(std::string_view utf8) {
    const Converted<ByteText> gb = utf8ToGb18030(utf8);
    if (!gb.exact) return;
    const Converted<std::string> back = gb18030ToUtf8(gb.value);
    check(back.exact && back.value == utf8);
}

void roundTripFromGb(const ByteText& gb) {
    const Converted<std::string> utf8 = gb18030ToUtf8(gb);
    if (utf8.exact) {
        const Converted<ByteText> back = utf8ToGb18030(utf8.value);
        check(back.exact && back.value == gb);
    }
    const Converted<QString> shown = gb18030ToQString(gb);
    if (shown.exact) {
        const Converted<ByteText> back = qStringToGb18030(shown.value);
        check(back.exact && back.value == gb);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    roundTripFromUtf8(bytes);
    roundTripFromGb(ByteText(bytes));

    // A name from the OS, through a rule, back to the OS: a new path that converts must be
    // one the OS can be handed byte for byte.
    const std::size_t cut = size / 2;
    const Converted<ByteText> name = utf8ToGb18030(bytes.substr(0, cut));
    const Converted<ByteText> typed = utf8ToGb18030(bytes.substr(cut));
    if (!name.exact) return 0;
    const FileRow row{name.value, ByteText(std::string("/d/") + name.value.bytes())};
    for (int mode = 0; mode <= static_cast<int>(RenameMode::InsertFromBack); ++mode) {
        const RenameSettings settings{static_cast<RenameMode>(mode), typed.value, ByteText("1")};
        const RuleResult result = applyRenameRule(row, settings);
        if (result.outcome != RuleOutcome::NewPath) continue;
        const Converted<std::string> os = gb18030ToUtf8(result.newPath);
        if (os.exact) roundTripFromUtf8(os.value);
    }
    return 0;
}
