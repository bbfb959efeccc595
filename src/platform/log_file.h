#pragma once

#include <string>

#include "engine/rename_log.h"

// The rename log beside the program. The file is opened for appending at the first append and
// stays open until the object goes (a batch opens it once); each line is one write, so earlier
// bytes are never rewritten. A write that fails half way is cut back, so the log never keeps a
// broken line. A log that cannot be opened is tried again at the next append.
class RenameLogFile : public LogStore {
public:
    explicit RenameLogFile(std::string osPath) : path_(std::move(osPath)) {}
    ~RenameLogFile() override;
    RenameLogFile(const RenameLogFile&) = delete;
    RenameLogFile& operator=(const RenameLogFile&) = delete;

    // Takes the line in the program's code page and stores it in UTF-8.
    bool append(const ByteSequence& line) override;

private:
    bool open();

    std::string path_;
    int fd_ = -1;
};

// The log's path: the program folder, "/" and the log's name, in the OS's bytes.
std::string renameLogPath();

// A log that reaches the file size limit must cost a record, not the process: ignore SIGXFSZ.
void ignoreFileSizeSignal();
