#pragma once

#include "engine/byte_text.h"

struct stat;

// Moves the entry at oldPath to newPath in one step and never replaces an existing entry: the
// call fails instead. It fails too when either path does not convert exactly to the OS's
// UTF-8, when newPath's folder does not exist, or when the entry cannot be moved.
bool renameFile(const ByteText& oldPath, const ByteText& newPath);

// The system calls renameFile is built on, as a seam for tests that force the fallback used
// where the file system does not support RENAME_NOREPLACE.
struct RenameCalls {
    int (*renameNoReplace)(const char* oldPath, const char* newPath);
    int (*link)(const char* oldPath, const char* newPath);
    int (*unlink)(const char* path);
    int (*lstat)(const char* path, struct stat* info);
};
const RenameCalls& systemRenameCalls();

// renameFile on OS paths, with the given system calls.
bool renameOsPath(const char* oldPath, const char* newPath, const RenameCalls& calls);
