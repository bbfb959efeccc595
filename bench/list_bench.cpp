// The work list at a million rows: memory per row beyond the texts, and the time to append a
// million rows and take them all from the top again, with the view attached.
#include <malloc.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string>

#include "filelist/file_list.h"
#include "ui/file_list_view.h"

namespace {

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

ByteText pathOf(int i) {
    return ByteText("/home/user/photos/2017/trip_" + std::to_string(i) + ".jpg");
}
ByteText nameOf(int i) {
    return ByteText("trip_" + std::to_string(i) + ".jpg");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    constexpr int kRows = 1000000;

    // Memory: the texts' own bytes are what any list must hold; the rest is the list's cost.
    {
        FileList list;
        std::size_t textBytes = 0;
        const std::size_t before = heapInUse();
        for (int i = 0; i < kRows; ++i) {
            FileRow row{nameOf(i), pathOf(i)};
            textBytes += row.name.size() + row.path.size();
            list.appendRow(std::move(row));
        }
        const std::size_t after = heapInUse();
        std::printf("list bytes/row: %.1f\n", double(after - before - textBytes) / kRows);
    }

    FileList list;
    FileListView view;
    view.setModel(&list);
    view.resize(544, 92);
    view.show();
    QApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRows; ++i) {
        const int32_t row = list.appendRow();
        list.setCell(row, FileList::kNameColumn, nameOf(i));
        list.setCell(row, FileList::kPathColumn, pathOf(i));
    }
    QApplication::processEvents();
    for (int i = 0; i < kRows; ++i) list.removeRow(0);
    QApplication::processEvents();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("list append+remove 1M: %.2f s\n", seconds);
    return list.rowCount() == 0 ? 0 : 1;
}
