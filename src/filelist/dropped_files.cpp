#include "filelist/dropped_files.h"

#include <QList>

#include "engine/text_ops.h"
#include "filelist/file_list.h"
#include "platform/code_page.h"
#include "platform/entry_search.h"

namespace {

const ByteText kLineEnd("\r\n");

// The path of one uri-list line, or nothing when the line names no local file we can trust.
bool localPath(QByteArray line, std::string& path) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith('#')) return false;
    if (!line.toLower().startsWith("file:")) return false;
    QByteArray rest = line.mid(5);
    if (rest.startsWith("//")) {
        const qsizetype slash = rest.indexOf('/', 2);
        if (slash < 0) return false;
        const QByteArray host = rest.mid(2, slash - 2).toLower();
        if (!host.isEmpty() && host != "localhost") return false;
        rest = rest.mid(slash);
    }
    // A raw "?" or "#" would start a query or fragment: the path meant is not certain.
    if (!rest.startsWith('/') || rest.contains('?') || rest.contains('#')) return false;
    const QByteArray decoded = QByteArray::fromPercentEncoding(rest);
    if (decoded.contains('\0') || decoded.contains('\r') || decoded.contains('\n')) return false;
    path.assign(decoded.constData(), static_cast<std::size_t>(decoded.size()));
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return true;
}

}  // namespace

std::vector<std::string> localPathsFromUriList(const QByteArray& uriList) {
    std::vector<std::string> paths;
    for (const QByteArray& line : uriList.split('\n')) {
        std::string path;
        if (localPath(line, path)) paths.push_back(std::move(path));
    }
    return paths;
}

ByteText droppedPathText(const std::vector<std::string>& osPaths) {
    std::vector<ByteText> paths;
    for (const std::string& osPath : osPaths) {
        Converted<ByteText> path = utf8ToGb18030(osPath);
        if (path.exact && !path.value.empty()) paths.push_back(std::move(path.value));
    }
    if (paths.size() == 1) return paths.front();
    // Built in one buffer: joining text by text would copy the whole text once per path.
    std::string text;
    for (const ByteText& path : paths) text.append(path.view()).append(kLineEnd.view());
    return ByteText(std::move(text));
}

void listDroppedFiles(const ByteText& droppedPathText, FileList& list) {
    list.clearList();
    EntrySearch search;
    for (const ByteText& piece : splitText(droppedPathText, kLineEnd)) {
        ByteText name = findEntry(search, SearchPattern::exact(piece), EntryFilter::NonDirectories);
        list.appendRow(FileRow{std::move(name), piece});
    }
    closeSearch(search);
}
