#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/byte_text.h"

// Which entries a search gives. A symbolic link counts as what it points to.
enum class EntryFilter {
    NonDirectories,
    Directories,
};

// What a search looks for: every entry of one folder, or the one entry at an exact path.
// The empty pattern continues the open search; Rewind starts again at the first entry of the
// folder listing the search read last, without reading the folder again.
struct SearchPattern {
    enum class Kind { Continue, AllInFolder, ExactPath, Rewind };
    Kind kind = Kind::Continue;
    ByteText text;  // the folder (with or without its trailing separator) or the exact path

    static SearchPattern allIn(const ByteText& folder) { return {Kind::AllInFolder, folder}; }
    static SearchPattern exact(const ByteText& path) { return {Kind::ExactPath, path}; }
    static SearchPattern rewind() { return {Kind::Rewind, ByteText()}; }
};

// The state of at most one open search of the file system. Each user owns its own; a folder
// listing is read whole when the search starts, so an open search holds no file descriptor.
class EntrySearch {
public:
    EntrySearch() = default;
    EntrySearch(const EntrySearch&) = delete;
    EntrySearch& operator=(const EntrySearch&) = delete;

    bool isOpen() const { return open_; }
    // Whether the entry last given is a symbolic link (to be listed, but never entered).
    bool lastWasSymlink() const { return lastWasSymlink_; }

private:
    friend ByteText findEntry(EntrySearch&, const SearchPattern&, EntryFilter);
    friend void closeSearch(EntrySearch&);
    void readListing(int dirFd);

    // The type is settled while the folder is read (d_type, or fstatat where the file system
    // leaves it unknown), so that giving an entry needs no further system call.
    struct Entry {
        std::size_t nameOffset;
        std::size_t nameLength;
        bool directory;  // what the entry is, or for a link what it points to
        bool symlink;
    };
    bool open_ = false;
    bool lastWasSymlink_ = false;
    std::string names_;  // every entry's UTF-8 name, back to back
    std::vector<Entry> entries_;
    std::size_t next_ = 0;
};

// Starts a search for a non-empty pattern (closing the open one) or continues the open one,
// and gives the next entry's name that the filter accepts, in the file system's order. The
// empty text when there is none, the search cannot start, or the search is closed. A name that
// does not convert exactly into the program's code page is never given.
ByteText findEntry(EntrySearch& search, const SearchPattern& pattern, EntryFilter filter);

void closeSearch(EntrySearch& search);
