#pragma once

#include <string>

#include "engine/rename_log.h"

// The rename log beside the program. Each append opens the file for appending, writes the
// whole line with one write and closes it: earlier bytes are never rewritten. A write that
// fails half way is cut back, so the log never keeps a broken line.
class RenameLogFile : public LogStore {
public:
    explicit RenameLogFile(std::string osPath) : path_(std::move(osPath)) {}
    // Takes the line in the program's code page and stores it in UTF-8.
    bool append(const ByteSequence& line) override;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The log's path: the program folder, "/" and the log's name, in the OS's bytes.
std::string renameLogPath();

// A log that reaches the file size limit must cost a record, not the process: ignore SIGXFSZ.
void ignoreFileSizeSignal();
