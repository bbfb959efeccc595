#include "platform/log_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "platform/code_page.h"
#include "platform/program_folder.h"

namespace {

// The line in UTF-8, as every file the user opens. Undecodable bytes become U+FFFD: the record
// is kept even when a path could not be shown exactly. A 0 byte, which no text holds, stays.
std::string toUtf8(std::string_view line) {
    std::string utf8;
    utf8.reserve(line.size() + line.size() / 2);
    for (;;) {
        const std::size_t zero = line.find('\0');
        utf8 += gb18030ToUtf8(ByteText(line.substr(0, zero))).value;
        if (zero == std::string_view::npos) return utf8;
        utf8 += '\0';
        line.remove_prefix(zero + 1);
    }
}

bool writeLine(int fd, const std::string& bytes) {
    if (bytes.empty()) return true;
    ssize_t written;
    do {
        written = write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(bytes.size())) return true;
    // A full disk or the file size limit: remove the part that did get written. Appending left
    // the offset at the end of that part.
    if (written > 0) {
        const off_t end = lseek(fd, 0, SEEK_CUR);
        if (end >= written) {
            while (ftruncate(fd, end - written) != 0 && errno == EINTR) {
            }
        }
    }
    return false;
}

}  // namespace

RenameLogFile::~RenameLogFile() {
    if (fd_ >= 0) close(fd_);
}

bool RenameLogFile::open() {
    if (fd_ >= 0) return true;
    // O_NONBLOCK: a FIFO in the log's place must fail the open, not wait for a reader.
    int fd;
    do {
        fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    // Only a plain file can be cut back after a failed write (and a FIFO or device is no log).
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool RenameLogFile::append(const ByteSequence& line) {
    if (!open()) return false;
    return writeLine(fd_, toUtf8(line));
}

std::string renameLogPath() {
    return programFolder() + "/" + gb18030ToUtf8(kRenameLogName).value;
}

void ignoreFileSizeSignal() {
    signal(SIGXFSZ, SIG_IGN);
}
