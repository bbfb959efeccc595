#pragma once

#include <cstdint>

#include "engine/byte_text.h"
#include "engine/rename_rules.h"

// What a batch needs of the work list, the window and the file system.
class BatchPorts {
public:
    virtual ~BatchPorts() = default;
    virtual int32_t rowCount() const = 0;
    virtual ByteText cellText(int32_t row, int32_t column) const = 0;
    virtual void removeRow(int32_t row) = 0;
    virtual RenameSettings settings() const = 0;
    // Moves oldPath to newPath, never replacing an existing entry.
    virtual bool renameFile(const ByteText& oldPath, const ByteText& newPath) = 0;
    virtual void appendRenameLog(const ByteText& record) = 0;
};

// "→" in the program's code page: the separator between the two paths of a log record.
inline const ByteText kRecordSeparator("\xA1\xFA");

// Renames the rows present at the call, first row first, logs every attempt and empties the
// list. A row that the rule cannot handle is removed without a rename and without a record.
void runBatchRename(BatchPorts& ports);
