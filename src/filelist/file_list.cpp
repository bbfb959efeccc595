#include "filelist/file_list.h"

#include "platform/code_page.h"

void FileList::clearList() {
    beginResetModel();
    std::deque<FileRow>().swap(rows_);
    endResetModel();
}

int32_t FileList::appendRow() {
    return appendRow(FileRow{});
}

int32_t FileList::appendRow(FileRow row) {
    const auto index = static_cast<int32_t>(rows_.size());
    beginInsertRows(QModelIndex(), index, index);
    rows_.push_back(std::move(row));
    endInsertRows();
    return index;
}

ByteText FileRow::*FileList::cellOf(int32_t column) const {
    if (column == kNameColumn) return &FileRow::name;
    if (column == kPathColumn) return &FileRow::path;
    return nullptr;
}

void FileList::setCell(int32_t row, int32_t column, const ByteText& text) {
    ByteText FileRow::*cell = cellOf(column);
    if (!isRow(row) || !cell) return;
    rows_[static_cast<std::size_t>(row)].*cell = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

ByteText FileList::cellText(int32_t row, int32_t column) const {
    ByteText FileRow::*cell = cellOf(column);
    if (!isRow(row) || !cell) return ByteText();
    return rows_[static_cast<std::size_t>(row)].*cell;
}

int FileList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant FileList::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return QVariant();
    if (!index.isValid()) return QVariant();
    return gb18030ToQString(cellText(index.row(), index.column())).value;
}

QVariant FileList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return QVariant();
    if (role == Qt::DisplayRole) {
        if (section == kNameColumn) return QStringLiteral("文件名");
        if (section == kPathColumn) return QStringLiteral("文件路径");
    }
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags FileList::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool FileList::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || count <= 0 || !isRow(row) || !isRow(int64_t{row} + count - 1))
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    const auto first = rows_.begin() + row;
    rows_.erase(first, first + count);
    endRemoveRows();
    return true;
}
