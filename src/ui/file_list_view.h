#pragma once

#include <QAbstractItemView>

class QHeaderView;

// The report view of the work list: a header row and two columns, one row selected at a time
// with only its name cell highlighted, and that only while the view has the focus.
// It lays out nothing per row: appending or removing a row costs the same with a million rows
// as with ten, which the stock item views do not offer.
class FileListView : public QAbstractItemView {
    Q_OBJECT

public:
    explicit FileListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    QHeaderView* header() const { return header_; }
    int rowHeight() const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int rows() const;
    void scheduleVerticalRange();
    void updateVerticalRange();
    int contentWidth() const;

    QHeaderView* header_;
    int rowHeight_ = 0;
    bool rangePending_ = false;
};
