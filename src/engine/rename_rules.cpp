#include "engine/rename_rules.h"

#include "engine/text_ops.h"

namespace {

// Insertion point counts: the position counts two-byte characters, so it is doubled, and the
// arithmetic runs in double precision before it is cut back to a 32-bit count.
struct InsertCounts {
    int32_t left;
    int32_t right;
};

InsertCounts insertCounts(RenameMode mode, int32_t n, int32_t len) {
    const double twice = n * 2.0;
    if (mode == RenameMode::InsertFromFront) {
        return {truncateToInteger(twice), truncateToInteger(len - twice)};
    }
    return {truncateToInteger(len - twice), truncateToInteger(twice)};
}

RuleResult outsideLimits() {
    return {RuleOutcome::OutsideLimits, ByteText()};
}

}  // namespace

ByteText baseName(const ByteText& name) {
    const TextList pieces = splitText(name, ".");
    return pieces.empty() ? ByteText() : pieces.front();
}

RuleResult applyRenameRule(const FileRow& row, const RenameSettings& settings) {
    const TextList pieces = splitText(row.name, ".");
    if (pieces.size() < 2) return outsideLimits();
    if (settings.mode == RenameMode::NoMode) return {RuleOutcome::NoMode, ByteText()};

    const ByteText& base = pieces.front();
    const ByteText& p = settings.primaryText;
    ByteText find = base;
    ByteText replacement;

    switch (settings.mode) {
        case RenameMode::AddPrefix:
            replacement = concatText(p, base);
            break;
        case RenameMode::AddSuffix:
            replacement = concatText(base, p);
            break;
        case RenameMode::ReplaceText:
            find = p;
            replacement = settings.secondaryText;
            break;
        case RenameMode::SplitKeepFront:
        case RenameMode::SplitKeepBack:
        case RenameMode::KeywordWithFront:
        case RenameMode::KeywordWithBack: {
            const TextList keyPieces = splitText(base, p);
            const bool wantsFront = settings.mode == RenameMode::SplitKeepFront ||
                                    settings.mode == RenameMode::KeywordWithFront;
            if (keyPieces.size() < (wantsFront ? 1u : 2u)) return outsideLimits();
            if (settings.mode == RenameMode::SplitKeepFront) replacement = keyPieces[0];
            if (settings.mode == RenameMode::SplitKeepBack) replacement = keyPieces[1];
            if (settings.mode == RenameMode::KeywordWithFront)
                replacement = concatText(keyPieces[0], p);
            if (settings.mode == RenameMode::KeywordWithBack)
                replacement = concatText(p, keyPieces[1]);
            break;
        }
        case RenameMode::InsertFromFront:
        case RenameMode::InsertFromBack: {
            const InsertCounts counts =
                insertCounts(settings.mode, toInteger(settings.secondaryText), textLength(base));
            replacement = concatText(leftText(base, counts.left), p, rightText(base, counts.right));
            break;
        }
        case RenameMode::NoMode:
            break;
    }
    return {RuleOutcome::NewPath, replaceAll(row.path, find, replacement)};
}
