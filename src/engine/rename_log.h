#pragma once

#include "engine/byte_text.h"

// Where the log's bytes go: the platform appends them to the log file beside the program.
class LogStore {
public:
    virtual ~LogStore() = default;
    // Appends the line in one piece; false when it could not be written.
    virtual bool append(const ByteSequence& line) = 0;
};

// The file name of the log, in the program's code page ("临时日志文件，若不用请删除即可.ini").
extern const ByteText kRenameLogName;

// One record as it is stored: the record, then CR LF. A CR or LF inside the record (a Linux
// path may hold one) is written as the two characters "\r" or "\n", so that every attempt
// stays exactly one line and no path can forge a record of its own.
ByteSequence renameLogLine(const ByteText& record);

// Appends one record; a record that cannot be written is lost without notice.
void appendRenameLog(const ByteText& record, LogStore& store);
