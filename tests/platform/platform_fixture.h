#pragma once

#include <fcntl.h>
#include <ftw.h>
#include <grp.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "../engine/byte_text_printer.h"

// A folder under /tmp for one test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/vantorel_platform_XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    // Tests that take permissions away give them back before they end.
    ~TempFolder() {
        nftw(
            root_.c_str(),
            [](const char* path, const struct stat*, int, struct FTW*) { return remove(path), 0; },
            16, FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }

    std::string file(const std::string& relative, const std::string& contents = "") const {
        const std::string full = path(relative);
        if (!writeFile(full, contents)) throw std::runtime_error("cannot write " + full);
        return full;
    }
    std::string folder(const std::string& relative, mode_t mode = 0755) const {
        const std::string full = path(relative);
        if (mkdir(full.c_str(), mode) != 0) throw std::runtime_error("cannot make " + full);
        chmod(full.c_str(), mode);
        return full;
    }
    std::string link(const std::string& relative, const std::string& target) const {
        const std::string full = path(relative);
        if (symlink(target.c_str(), full.c_str()) != 0)
            throw std::runtime_error("cannot link " + full);
        return full;
    }

    static bool writeFile(const std::string& path, const std::string& contents) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        const bool written =
            write(fd, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size());
        return close(fd) == 0 && written;
    }
    // The file's bytes, or nothing when it cannot be read.
    static std::optional<std::string> readFile(const std::string& path) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return std::nullopt;
        std::string contents;
        char buffer[4096];
        ssize_t n;
        while ((n = read(fd, buffer, sizeof buffer)) > 0) contents.append(buffer, n);
        close(fd);
        if (n < 0) return std::nullopt;
        return contents;
    }
    static bool exists(const std::string& path) {
        struct stat info;
        return lstat(path.c_str(), &info) == 0;
    }

private:
    std::string root_;
};

// Runs `body` in a forked child and gives its exit code, or -1 when it did not exit normally
// (killed by a signal). With asNobody the child drops root first, since root passes every
// permission check; the folders it must reach need to be open to others.
inline int runInChild(const std::function<int()>& body, bool asNobody = false) {
    const pid_t child = fork();
    if (child < 0) return -2;
    if (child == 0) {
        if (asNobody && geteuid() == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(98);
        }
        _exit(body());
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
