// The whole batch in the real window (AddPrefix over 100,000 listed files) against a bare loop
// of the same renames with renameat2 and one O_APPEND write per record, each on its own copy of
// the tree; and one log append to a 50 MB log against one to an empty log.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "bench/bench_tree.h"
#include "filelist/file_list.h"
#include "platform/log_file.h"
#include "ui/main_window.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int envInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

std::vector<std::string> buildFlatTree(const std::string& root, int files, int folders) {
    std::vector<std::string> paths;
    for (int f = 0; f < folders; ++f) mkdir((root + "/dir" + std::to_string(f)).c_str(), 0755);
    for (int i = 0; i < files; ++i) {
        paths.push_back(root + "/dir" + std::to_string(i % folders) + "/photo_" +
                        std::to_string(i) + ".jpg");
        bench::makeFile(paths.back());
    }
    return paths;
}

double bareBatch(const std::vector<std::string>& paths, const std::string& logPath) {
    const auto start = std::chrono::steady_clock::now();
    const int log = open(logPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    for (const std::string& path : paths) {
        const std::size_t slash = path.rfind('/');
        const std::string target = path.substr(0, slash + 1) + "2017_" + path.substr(slash + 1);
        syscall(SYS_renameat2, AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        const std::string record = path + "\xE2\x86\x92" + target + "\r\n";
        if (write(log, record.data(), record.size()) < 0) std::perror("write");
    }
    close(log);
    return secondsSince(start);
}

double windowBatch(const std::string& root, int files) {
    MainWindow window;
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("FolderEdit"))
        ->setText(QString::fromStdString(root));
    window.findChild<QPushButton*>(QStringLiteral("FindButton"))->click();
    if (window.fileList().rowCount() != files) {
        std::fprintf(stderr, "listed %d of %d files\n", window.fileList().rowCount(), files);
        std::exit(1);
    }
    window.findChild<QRadioButton*>(QStringLiteral("ModeButton1"))->click();
    window.findChild<QLineEdit*>(QStringLiteral("PrimaryEdit"))->setText(QStringLiteral("2017_"));
    QApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    window.findChild<QPushButton*>(QStringLiteral("RenameButton"))->click();
    const double seconds = secondsSince(start);
    if (window.fileList().rowCount() != 0) std::exit(1);
    return seconds;
}

// Median time of one append of a short record to the log at path.
double appendSeconds(const std::string& path) {
    RenameLogFile log(path);
    std::vector<double> times;
    const ByteSequence line = "/tmp/photos/trip.jpg\xA1\xFA/tmp/photos/2017_trip.jpg\r\n";
    for (int i = 0; i < 201; ++i) {
        const auto start = std::chrono::steady_clock::now();
        log.append(line);
        times.push_back(secondsSince(start));
    }
    std::nth_element(times.begin(), times.begin() + 100, times.end());
    return times[100];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int files = envInt("BATCH_FILES", 100000);
    const int folders = std::max(1, files / 1000);
    const std::string programLog = renameLogPath();
    unlink(programLog.c_str());

    const std::string windowRoot = bench::makeTempFolder("batch");
    buildFlatTree(windowRoot, files, folders);
    const std::string bareRoot = bench::makeTempFolder("bare");
    const std::vector<std::string> barePaths = buildFlatTree(bareRoot, files, folders);

    // Both runs start on a settled file system: the trees' creation (and, in the scale run, the
    // removal of a million files before) is written back first.
    sync();
    const double bare = bareBatch(barePaths, bareRoot + "/bare.log");
    const double window = windowBatch(windowRoot, files);
    unlink(programLog.c_str());
    std::printf("batch s: %.3f\nbare s: %.3f\n", window, bare);
    std::printf("batch/bare: %.2f\n", window / bare);

    const std::string logs = bench::makeTempFolder("log");
    const std::string big = logs + "/big.ini";
    {
        const int fd = open(big.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 50; ++i) {
            if (write(fd, chunk.data(), chunk.size()) < 0) std::perror("write");
        }
        close(fd);
    }
    const double toBig = appendSeconds(big);
    const double toEmpty = appendSeconds(logs + "/empty.ini");
    std::printf("append 50MB/empty: %.2f\n", toBig / toEmpty);

    bench::removeTree(windowRoot);
    bench::removeTree(bareRoot);
    bench::removeTree(logs);
    return 0;
}
