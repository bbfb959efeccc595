#pragma once

#include <string>
#include <utility>
#include <vector>

#include "filelist/file_list.h"

// The list's rows as (name, path) byte strings, for comparing with what a test expects.
using Rows = std::vector<std::pair<std::string, std::string>>;

inline Rows rowsOf(const FileList& list) {
    Rows rows;
    for (int32_t row = 0; row < list.rowCount(); ++row) {
        rows.emplace_back(list.cellText(row, 0).bytes(), list.cellText(row, 1).bytes());
    }
    return rows;
}
