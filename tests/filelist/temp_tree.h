#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

// A folder under /tmp made for one test and removed with everything in it afterwards, also
// when it holds chains of folders deeper than the system's path limit.
class TempTree {
public:
    TempTree() {
        char pattern[] = "/tmp/vantorel_test_XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~TempTree() {
        const int fd = open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (fd >= 0) removeContents(fd);
        rmdir(root_.c_str());
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }

    // Each returns the full path of what it made, relative names taken from the root.
    std::string file(const std::string& relative, const std::string& contents = "") const {
        const std::string full = path(relative);
        const int fd = open(full.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) throw std::runtime_error("cannot create " + full);
        const bool written =
            write(fd, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size());
        close(fd);
        if (!written) throw std::runtime_error("cannot write " + full);
        return full;
    }
    std::string folder(const std::string& relative) const {
        const std::string full = path(relative);
        if (mkdir(full.c_str(), 0700) != 0) throw std::runtime_error("cannot make " + full);
        return full;
    }
    std::string link(const std::string& relative, const std::string& target) const {
        const std::string full = path(relative);
        if (symlink(target.c_str(), full.c_str()) != 0)
            throw std::runtime_error("cannot link " + full);
        return full;
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
