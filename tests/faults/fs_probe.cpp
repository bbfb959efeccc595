// Asks the file system what the no-replace rename is built on, so that a test knows which way
// renames go there: "noreplace OLD NEW" tries renameat2(RENAME_NOREPLACE) and "link OLD NEW"
// tries link(2), undoing any success. Prints "ok" or the errno name; exit 0 either way.

#include <fcntl.h>
#include <stdio.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: fs_probe noreplace|link OLD NEW\n");
        return 2;
    }
    const char* oldPath = argv[2];
    const char* newPath = argv[3];
    int result;
    if (std::strcmp(argv[1], "noreplace") == 0) {
        result = static_cast<int>(
            syscall(SYS_renameat2, AT_FDCWD, oldPath, AT_FDCWD, newPath, RENAME_NOREPLACE));
        if (result == 0)
            syscall(SYS_renameat2, AT_FDCWD, newPath, AT_FDCWD, oldPath, RENAME_NOREPLACE);
    } else if (std::strcmp(argv[1], "link") == 0) {
        result = link(oldPath, newPath);
        if (result == 0) unlink(newPath);
    } else {
        return 2;
    }
    if (result == 0) {
        std::puts("ok");
    } else {
        const int error = errno;
        std::printf("%s\n", error == EINVAL   ? "EINVAL"
                            : error == EEXIST ? "EEXIST"
                            : error == EPERM  ? "EPERM"
                            : error == ENOSYS ? "ENOSYS"
                                              : std::strerror(error));
    }
    return 0;
}
