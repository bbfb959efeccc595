#include "platform/program_folder.h"

#include <unistd.h>

#include <cstddef>

#include "platform/path_separator.h"

namespace {

// The program file's path; false when /proc is not there to tell it.
bool programFile(std::string& path) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return false;
        // A result that fills the buffer may have been cut short.
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            path = std::move(buffer);
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string programFolder() {
    std::string path;
    // Without /proc the program's folder is unknown; the current directory stands in for it.
    if (!programFile(path)) return ".";
    // A program file replaced while it runs reads "/dir/name (deleted)": the folder still holds.
    const std::size_t slash = path.rfind(kPathSeparator);
    if (slash == std::string::npos) return ".";
    path.resize(slash);
    return path;
}

bool enterProgramFolder() {
    const std::string folder = programFolder();
    return chdir(folder.empty() ? "/" : folder.c_str()) == 0;
}
