// FindButton's whole scan in the real window against GNU find on the same tree, on a warm
// cache, with the longest gap between two ticks of a 10 ms timer while the scan runs.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/bench_tree.h"
#include "filelist/file_list.h"
#include "platform/code_page.h"
#include "ui/main_window.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Paths are compared by their hashes, so that the benchmark's own copy of a million paths does
// not stand in the peak memory of the window it measures.
using PathHashes = std::vector<std::size_t>;

std::size_t hashOf(std::string_view path) {
    return std::hash<std::string_view>()(path);
}

PathHashes runFind(const std::string& root, const std::string& mark, double& seconds) {
    const std::string command = "LC_ALL=C find '" + root + "' -type f -iname '*" + mark + "*'";
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    PathHashes found;
    char* line = nullptr;
    std::size_t capacity = 0;
    ssize_t length;
    while ((length = getline(&line, &capacity, pipe)) > 0)
        found.push_back(hashOf(std::string_view(line, static_cast<std::size_t>(length - 1))));
    free(line);
    pclose(pipe);
    seconds = secondsSince(start);
    std::sort(found.begin(), found.end());
    return found;
}

int envInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int files = envInt("SCAN_FILES", 200000);
    const int folders = envInt("SCAN_FOLDERS", std::max(1, files / 100));
    // SCAN_ROOT names a tree built by an earlier run (kept with SCAN_KEEP=1) to measure again.
    const char* reuse = std::getenv("SCAN_ROOT");
    const std::string root = reuse && *reuse ? reuse : bench::makeTempFolder("scan");
    const std::size_t markedCount =
        reuse && *reuse ? 0 : bench::buildTree(root, files, folders, "MaRk").size();
    if (markedCount > 0) std::printf("scan tree: %d files in %d folders\n", files, folders);

    double findSeconds = 0;
    // SCAN_MARK="" lists every file, for the memory of a list as long as the tree.
    const char* markSetting = std::getenv("SCAN_MARK");
    const std::string mark = markSetting ? markSetting : "mark";
    runFind(root, mark, findSeconds);  // warms the cache
    const PathHashes found = runFind(root, mark, findSeconds);

    MainWindow window;
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("FolderEdit"))
        ->setText(QString::fromStdString(root));
    window.findChild<QLineEdit*>(QStringLiteral("MarkEdit"))->setText(QString::fromStdString(mark));
    QApplication::processEvents();

    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    bool scanning = false;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (scanning) longestGap = std::max(longestGap, sinceTick.elapsed());
        sinceTick.restart();
    });
    ticker.start(10);
    QApplication::processEvents();

    auto* findButton = window.findChild<QPushButton*>(QStringLiteral("FindButton"));
    scanning = true;
    sinceTick.restart();
    const auto start = std::chrono::steady_clock::now();
    findButton->click();
    const double scanSeconds = secondsSince(start);
    longestGap = std::max(longestGap, sinceTick.elapsed());
    scanning = false;

    PathHashes listed;
    FileList& list = window.fileList();
    for (int row = 0; row < list.rowCount(); ++row) {
        listed.push_back(hashOf(gb18030ToUtf8(list.cellText(row, FileList::kPathColumn)).value));
    }
    std::sort(listed.begin(), listed.end());
    // On a tree built here the count is known as well: find must not be wrong either.
    std::size_t expected = found.size();
    if (markedCount > 0 && mark == "mark") expected = markedCount;
    if (markedCount > 0 && mark.empty()) expected = static_cast<std::size_t>(files);
    const bool same = listed == found && found.size() == expected;

    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("scan s: %.3f\nfind s: %.3f\n", scanSeconds, findSeconds);
    std::printf("scan/find: %.2f\n", scanSeconds / findSeconds);
    std::printf("longest event gap ms: %lld\n", static_cast<long long>(longestGap));
    std::printf("scan peak MB: %.1f\n", usage.ru_maxrss / 1024.0);
    std::printf("same files as find: %s (%zu)\n", same ? "yes" : "NO", listed.size());
    if (!reuse && !std::getenv("SCAN_KEEP")) bench::removeTree(root);
    if (std::getenv("SCAN_KEEP")) std::printf("tree kept: %s\n", root.c_str());
    return same ? 0 : 1;
}
