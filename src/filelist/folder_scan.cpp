#include "filelist/folder_scan.h"

#include <vector>

#include "engine/text_ops.h"
#include "filelist/file_list.h"
#include "platform/entry_search.h"
#include "platform/path_separator.h"

void scanFolder(const ByteText& folderText, FileList& list, ScanHooks& hooks) {
    static const ByteText separator(std::string_view(&kPathSeparator, 1));
    const ByteText folder = compareText(rightText(folderText, 1), separator) != 0
                                ? concatText(folderText, separator)
                                : folderText;
    EntrySearch search;

    // Gather the folder's file names first; the window stays live through one pump per name.
    std::vector<ByteText> names;
    for (ByteText name =
             findEntry(search, SearchPattern::allIn(folder), EntryFilter::NonDirectories);
         !name.empty(); name = findEntry(search, SearchPattern(), EntryFilter::NonDirectories)) {
        hooks.processPendingEvents();
        if (hooks.stopRequested()) return;
        names.push_back(std::move(name));
    }

    for (ByteText& name : names) {
        if (findText(name, hooks.markText(), true) == -1) continue;
        ByteText path = concatText(folder, name);
        list.appendRow(FileRow{std::move(name), std::move(path)});
    }
    names = std::vector<ByteText>();

    // The subfolders come from the same listing: the folder is read once per visit.
    static const ByteText dot(".");
    for (ByteText name = findEntry(search, SearchPattern::rewind(), EntryFilter::Directories);
         !name.empty(); name = findEntry(search, SearchPattern(), EntryFilter::Directories)) {
        if (compareText(leftText(name, 1), dot) == 0 || search.lastWasSymlink()) continue;
        scanFolder(concatText(folder, name), list, hooks);
        if (hooks.stopRequested()) break;
    }
    closeSearch(search);
}
