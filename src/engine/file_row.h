#pragma once

#include "engine/byte_text.h"

// One row of the work list: the bare file name (column 0) and its full path (column 1).
struct FileRow {
    ByteText name;
    ByteText path;
};
