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

#include "../common/temp_folder.h"
#include "../engine/byte_text_printer.h"

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
