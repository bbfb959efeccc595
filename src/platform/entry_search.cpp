#include "platform/entry_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/path_separator.h"

namespace {

struct EntryKind {
    bool directory = false;
    bool symlink = false;
};

// A link counts as what it points to, a broken link as a file. `own` is the entry's lstat.
EntryKind kindOf(const struct stat& own, int dirFd, const char* path) {
    if (!S_ISLNK(own.st_mode)) return {S_ISDIR(own.st_mode), false};
    struct stat target;
    return {fstatat(dirFd, path, &target, 0) == 0 && S_ISDIR(target.st_mode), true};
}

EntryKind kindOf(unsigned char type, const char* name, int dirFd) {
    switch (type) {
        case DT_DIR:
            return {true, false};
        case DT_LNK:
        case DT_UNKNOWN:
            break;
        default:
            return {false, false};
    }
    struct stat own;
    // An entry that vanished since readdir is still listed, as a file; a rename of it fails.
    if (fstatat(dirFd, name, &own, AT_SYMLINK_NOFOLLOW) != 0) return {false, false};
    return kindOf(own, dirFd, name);
}

bool accepts(EntryFilter filter, bool directory) {
    return directory == (filter == EntryFilter::Directories);
}

// The last path component of a GB18030 path. Byte 0x2F is never part of a multibyte
// character in GB18030, so the last "/" byte is the last separator.
ByteText lastComponent(const ByteText& path) {
    const std::size_t slash = path.view().rfind(kPathSeparator);
    return slash == std::string_view::npos ? path : ByteText(path.view().substr(slash + 1));
}

}  // namespace

// getdents64 into one buffer kept for the thread: readdir would allocate and free a buffer of
// its own for every folder, a cost that shows when a scan visits tens of thousands of them.
// A read error ends the listing; the entries read before it are still given.
void EntrySearch::readListing(int dirFd) {
    thread_local std::vector<char> buffer(64 * 1024);
    for (;;) {
        const long bytes = syscall(SYS_getdents64, dirFd, buffer.data(), buffer.size());
        if (bytes < 0 && errno == EINTR) continue;
        if (bytes <= 0) return;
        for (long offset = 0; offset < bytes;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(buffer.data() + offset);
            offset += entry->d_reclen;
            const std::string_view name(entry->d_name);
            const EntryKind kind = kindOf(entry->d_type, entry->d_name, dirFd);
            entries_.push_back({names_.size(), name.size(), kind.directory, kind.symlink});
            names_.append(name);
        }
    }
}

ByteText findEntry(EntrySearch& search, const SearchPattern& pattern, EntryFilter filter) {
    if (pattern.kind == SearchPattern::Kind::Rewind) {
        search.open_ = true;
        search.next_ = 0;
    } else if (pattern.kind != SearchPattern::Kind::Continue) {
        closeSearch(search);
        search.names_.clear();
        search.entries_.clear();
        const Converted<std::string> osPath = gb18030ToUtf8(pattern.text);
        if (!osPath.exact) return ByteText();

        if (pattern.kind == SearchPattern::Kind::ExactPath) {
            struct stat own;
            if (lstat(osPath.value.c_str(), &own) != 0) return ByteText();
            const EntryKind kind = kindOf(own, AT_FDCWD, osPath.value.c_str());
            ByteText name = lastComponent(pattern.text);
            if (!accepts(filter, kind.directory) || name.empty()) return ByteText();
            // The one entry is given; the search stays open with nothing left to give.
            search.open_ = true;
            search.next_ = 0;
            search.lastWasSymlink_ = kind.symlink;
            return name;
        }

        // The whole listing is read now, so that an open search holds no file descriptor
        // however deep the scan nests its searches. An empty folder text is the current one.
        const int dirFd = open(osPath.value.empty() ? "." : osPath.value.c_str(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd < 0) return ByteText();
        search.readListing(dirFd);
        close(dirFd);
        search.open_ = true;
        search.next_ = 0;
    }

    if (!search.open_) return ByteText();
    while (search.next_ < search.entries_.size()) {
        const EntrySearch::Entry& entry = search.entries_[search.next_++];
        if (!accepts(filter, entry.directory)) continue;
        Converted<ByteText> name = utf8ToGb18030(
            std::string_view(search.names_.data() + entry.nameOffset, entry.nameLength));
        // A name the program cannot write back exactly could only ever reach another file.
        if (!name.exact || name.value.empty()) continue;
        search.lastWasSymlink_ = entry.symlink;
        return std::move(name.value);
    }
    closeSearch(search);
    return ByteText();
}

void closeSearch(EntrySearch& search) {
    // The listing stays for a rewind; the next search that reads the file system drops it.
    search.open_ = false;
    search.lastWasSymlink_ = false;
    search.next_ = 0;
}
