#pragma once

#include "engine/byte_text.h"
#include "engine/file_row.h"

enum class RenameMode {
    NoMode,
    AddPrefix,
    AddSuffix,
    ReplaceText,
    SplitKeepFront,
    SplitKeepBack,
    KeywordWithFront,
    KeywordWithBack,
    InsertFromFront,
    InsertFromBack,
};

struct RenameSettings {
    RenameMode mode = RenameMode::NoMode;
    ByteText primaryText;
    ByteText secondaryText;
};

// What applyRenameRule made of a row.
enum class RuleOutcome {
    NewPath,        // newPath holds the path to rename to (it may equal the old one)
    NoMode,         // no mode is selected: nothing to do
    OutsideLimits,  // the name or the keyword does not give the pieces the mode needs
};

struct RuleResult {
    RuleOutcome outcome = RuleOutcome::NoMode;
    ByteText newPath;
};

// The first piece of the name split at "."; the empty text for a name without pieces.
ByteText baseName(const ByteText& name);

RuleResult applyRenameRule(const FileRow& row, const RenameSettings& settings);
