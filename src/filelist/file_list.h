#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <deque>

#include "engine/byte_text.h"
#include "engine/file_row.h"

// The work list: the only place its rows live; FileListView shows it. Rows are appended at the
// end and taken from the top, both in constant time, so a million rows stay cheap.
// rowCount() and removeRow(row) are the model's own: QAbstractItemModel already names them.
class FileList : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    static constexpr int kNameColumn = 0;
    static constexpr int kPathColumn = 1;

    void clearList();
    // Adds a row with two empty cells after the last one and gives its index.
    int32_t appendRow();
    // Appends a row whose two cells are filled already: one notification instead of three.
    int32_t appendRow(FileRow row);
    // A row or column that names no cell changes nothing.
    void setCell(int32_t row, int32_t column, const ByteText& text);
    // A copy of the cell's text; the empty text for a row or column that names no cell.
    ByteText cellText(int32_t row, int32_t column = kNameColumn) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Behind removeRow(row): rows outside the list are left alone.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    bool isRow(int64_t row) const { return row >= 0 && static_cast<uint64_t>(row) < rows_.size(); }
    ByteText FileRow::*cellOf(int32_t column) const;

    std::deque<FileRow> rows_;
};
