#include "platform/rename_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/code_page.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

int systemRenameNoReplace(const char* oldPath, const char* newPath) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 28))
    return renameat2(AT_FDCWD, oldPath, AT_FDCWD, newPath, RENAME_NOREPLACE);
#else
    return static_cast<int>(
        syscall(SYS_renameat2, AT_FDCWD, oldPath, AT_FDCWD, newPath, RENAME_NOREPLACE));
#endif
}

int systemLink(const char* oldPath, const char* newPath) {
    return ::link(oldPath, newPath);
}
int systemUnlink(const char* path) {
    return ::unlink(path);
}
int systemLstat(const char* path, struct stat* info) {
    return ::lstat(path, info);
}

}  // namespace

const RenameCalls& systemRenameCalls() {
    static const RenameCalls calls{systemRenameNoReplace, systemLink, systemUnlink, systemLstat};
    return calls;
}

bool renameOsPath(const char* oldPath, const char* newPath, const RenameCalls& calls) {
    if (calls.renameNoReplace(oldPath, newPath) == 0) return true;
    // Only a file system without RENAME_NOREPLACE (FUSE, exFAT, some network file systems)
    // gets the fallback; every other failure, EEXIST above all, is final.
    if (errno != EINVAL && errno != ENOSYS) return false;

    // link never replaces an existing entry, so the new name appears only if it was free. A
    // folder cannot be linked: its rename fails here.
    struct stat info;
    if (calls.lstat(oldPath, &info) != 0 || S_ISDIR(info.st_mode)) return false;
    if (calls.link(oldPath, newPath) != 0) return false;
    if (calls.unlink(oldPath) == 0) return true;
    // The file would otherwise carry both names: take the new one back.
    const int unlinkError = errno;
    calls.unlink(newPath);
    errno = unlinkError;
    return false;
}

bool renameFile(const ByteText& oldPath, const ByteText& newPath) {
    const Converted<std::string> oldOs = gb18030ToUtf8(oldPath);
    const Converted<std::string> newOs = gb18030ToUtf8(newPath);
    if (!oldOs.exact || !newOs.exact || oldOs.value.empty() || newOs.value.empty()) return false;
    return renameOsPath(oldOs.value.c_str(), newOs.value.c_str(), systemRenameCalls());
}
