#pragma once

// Builds the folder trees the benchmarks work on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

// A fresh empty folder under $TMPDIR (or /tmp), removed by the caller with removeTree.
inline std::string makeTempFolder(const char* tag) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base && *base ? base : "/tmp") + "/vantorel-" + tag + "-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    return pattern;
}

inline void removeTree(const std::string& folder) {
    const std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "could not remove %s\n", folder.c_str());
}

inline void makeFile(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::perror(path.c_str());
        std::exit(2);
    }
    close(fd);
}

// files files spread over folders folders (sqrt(folders) top folders holding the rest), ASCII and
// CJK names; every tenth name holds the mark in mixed case. Gives the paths of the marked files.
inline std::vector<std::string> buildTree(const std::string& root, int files, int folders,
                                          const std::string& mixedCaseMark) {
    std::vector<std::string> marked;
    int top = 1;
    while (top * top < folders) ++top;
    std::vector<std::string> leafFolders;
    for (int t = 0; t < top && static_cast<int>(leafFolders.size()) < folders; ++t) {
        const std::string topFolder = root + "/dir" + std::to_string(t);
        mkdir(topFolder.c_str(), 0755);
        leafFolders.push_back(topFolder);
        for (int s = 0; s + 1 < top && static_cast<int>(leafFolders.size()) < folders; ++s) {
            const std::string sub = topFolder + (s % 2 ? "/子目录" : "/sub") + std::to_string(s);
            mkdir(sub.c_str(), 0755);
            leafFolders.push_back(sub);
        }
    }
    for (int i = 0; i < files; ++i) {
        const std::string& folder = leafFolders[static_cast<std::size_t>(i) % leafFolders.size()];
        std::string name = (i % 3 == 0 ? "照片_" : "photo_") + std::to_string(i);
        if (i % 10 == 0) name += "_" + mixedCaseMark;
        name += (i % 2 ? ".jpg" : ".txt");
        const std::string path = folder + "/" + name;
        makeFile(path);
        if (i % 10 == 0) marked.push_back(path);
    }
    return marked;
}

}  // namespace bench
