#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A folder under /tmp made for one test and removed with everything in it afterwards, also
// when it holds chains of folders deeper than the system's path limit. Tests that take
// permissions away give them back before they end.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/vantorel_test_XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~TempFolder() {
        const int fd = open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (fd >= 0) removeContents(fd);
        rmdir(root_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }

    // Each returns the full path of what it made, relative names taken from the root.
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
    // Removes everything inside the folder open at fd, and closes fd.
    static void removeContents(int fd) {
        DIR* dir = fdopendir(fd);
        if (!dir) {
            close(fd);
            return;
        }
        std::vector<std::string> names;
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        for (const std::string& name : names) {
            struct stat info;
            if (fstatat(dirfd(dir), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISDIR(info.st_mode)) {
                const int child =
                    openat(dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
                if (child >= 0) removeContents(child);
                unlinkat(dirfd(dir), name.c_str(), AT_REMOVEDIR);
            } else {
                unlinkat(dirfd(dir), name.c_str(), 0);
            }
        }
        closedir(dir);
    }

    std::string root_;
};

// The names in a folder in the order readdir gives them: its folders (by the entry's own type)
// or everything else. Expected orders come from here: the file system decides them, not us.
inline std::vector<std::string> readdirNames(const std::string& folder, bool folders) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info;
        if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(info.st_mode) == folders) names.push_back(name);
    }
    closedir(dir);
    return names;
}
