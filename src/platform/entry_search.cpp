#include "platform/entry_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <string_view>

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

EntryKind kindOf(const struct dirent& entry, int dirFd) {
    switch (entry.d_type) {
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
    if (fstatat(dirFd, entry.d_name, &own, AT_SYMLINK_NOFOLLOW) != 0) return {false, false};
    return kindOf(own, dirFd, entry.d_name);
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
        DIR* dir = opendir(osPath.value.empty() ? "." : osPath.value.c_str());
        if (dir == nullptr) return ByteText();
        const int dirFd = dirfd(dir);
        // A read error ends the listing; the entries read before it are still given.
        while (const struct dirent* entry = readdir(dir)) {
            const std::string_view name(entry->d_name);
            const EntryKind kind = kindOf(*entry, dirFd);
            search.entries_.push_back(
                {search.names_.size(), name.size(), kind.directory, kind.symlink});
            search.names_.append(name);
        }
        closedir(dir);
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
