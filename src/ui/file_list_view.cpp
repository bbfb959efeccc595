#include "ui/file_list_view.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

FileListView::FileListView(QWidget* parent)
    : QAbstractItemView(parent), header_(new QHeaderView(Qt::Horizontal, this)) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    setAutoScroll(false);
    setTabKeyNavigation(false);

    header_->setSectionsClickable(true);
    header_->setSectionsMovable(false);
    header_->setSortIndicatorShown(false);
    header_->setHighlightSections(false);
    header_->setStretchLastSection(false);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header_->setFocusPolicy(Qt::NoFocus);
    rowHeight_ = fontMetrics().height() + 4;

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    connect(header_, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
}

void FileListView::setModel(QAbstractItemModel* model) {
    QAbstractItemView::setModel(model);
    header_->setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::rowsRemoved, this,
                &FileListView::scheduleVerticalRange);
        connect(model, &QAbstractItemModel::modelReset, this, &FileListView::scheduleVerticalRange);
    }
    header_->resizeSection(0, 140);
    header_->resizeSection(1, 400);
    updateGeometries();
}

int FileListView::rows() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int FileListView::rowHeight() const {
    return rowHeight_;
}

void FileListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        rowHeight_ = fontMetrics().height() + 4;
        updateGeometries();
    }
    QAbstractItemView::changeEvent(event);
}

int FileListView::contentWidth() const {
    return header_->length();
}

QRect FileListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex()) return QRect();
    const int x = header_->sectionViewportPosition(index.column());
    const int y = index.row() * rowHeight() - verticalOffset();
    return QRect(x, y, header_->sectionSize(index.column()), rowHeight());
}

void FileListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    const int top = index.row() * rowHeight();
    const int height = viewport()->height();
    int value = verticalScrollBar()->value();
    if (hint == PositionAtTop || (hint == EnsureVisible && top < value)) {
        value = top;
    } else if (hint == PositionAtBottom ||
               (hint == EnsureVisible && top + rowHeight() > value + height)) {
        value = top + rowHeight() - height;
    } else if (hint == PositionAtCenter) {
        value = top - (height - rowHeight()) / 2;
    }
    verticalScrollBar()->setValue(value);
}

QModelIndex FileListView::indexAt(const QPoint& point) const {
    if (!model() || point.y() < 0) return QModelIndex();
    const int row = (point.y() + verticalOffset()) / rowHeight();
    const int column = header_->logicalIndexAt(point.x());
    if (row >= rows() || column < 0) return QModelIndex();
    return model()->index(row, column, rootIndex());
}

QModelIndex FileListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers) {
    const int count = rows();
    if (count == 0) return QModelIndex();
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    const int page = qMax(1, viewport()->height() / rowHeight());
    int row = current;
    switch (cursorAction) {
        case MoveUp:
        case MovePrevious:
            row = current - 1;
            break;
        case MoveDown:
        case MoveNext:
            row = current + 1;
            break;
        case MovePageUp:
            row = current - page;
            break;
        case MovePageDown:
            row = current + page;
            break;
        case MoveHome:
            row = 0;
            break;
        case MoveEnd:
            row = count - 1;
            break;
        default:
            break;
    }
    return model()->index(qBound(0, row, count - 1), 0, rootIndex());
}

int FileListView::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int FileListView::verticalOffset() const {
    return verticalScrollBar()->value();
}

bool FileListView::isIndexHidden(const QModelIndex&) const {
    return false;
}

void FileListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const QModelIndex hit = indexAt(rect.topLeft());
    if (!hit.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->select(hit, command | QItemSelectionModel::Rows);
}

QRegion FileListView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        const int top = range.top() * rowHeight() - verticalOffset();
        const int height = (range.bottom() - range.top() + 1) * rowHeight();
        region += QRect(0, top, viewport()->width(), height);
    }
    return region;
}

void FileListView::updateGeometries() {
    const int headerHeight = header_->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    header_->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);
    horizontalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setPageStep(area.width());
    horizontalScrollBar()->setRange(0, qMax(0, contentWidth() - area.width()));
    verticalScrollBar()->setSingleStep(rowHeight());
    verticalScrollBar()->setPageStep(area.height());
    updateVerticalRange();
    QAbstractItemView::updateGeometries();
}

void FileListView::scheduleVerticalRange() {
    // A scroll bar's range change posts events of its own; with a row appended per file found,
    // that would be an event per row. One update when the window next handles events will do.
    if (rangePending_) return;
    rangePending_ = true;
    QMetaObject::invokeMethod(this, &FileListView::updateVerticalRange, Qt::QueuedConnection);
}

void FileListView::updateVerticalRange() {
    rangePending_ = false;
    const qint64 contentHeight = qint64(rows()) * rowHeight();
    const qint64 maximum = qBound<qint64>(0, contentHeight - viewport()->height(), qint64(INT_MAX));
    if (verticalScrollBar()->maximum() != maximum) verticalScrollBar()->setRange(0, int(maximum));
}

void FileListView::scrollContentsBy(int dx, int dy) {
    header_->setOffset(horizontalOffset());
    viewport()->scroll(dx, dy);
}

void FileListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    // Only the scroll range changes with the row count; nothing is laid out per row.
    scheduleVerticalRange();
    const int firstVisible = verticalOffset() / rowHeight();
    const int lastVisible = (verticalOffset() + viewport()->height()) / rowHeight();
    if (end >= firstVisible && start <= lastVisible) viewport()->update();
}

void FileListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    viewport()->update();
}

void FileListView::focusInEvent(QFocusEvent* event) {
    QAbstractItemView::focusInEvent(event);
    viewport()->update();
}

void FileListView::focusOutEvent(QFocusEvent* event) {
    QAbstractItemView::focusOutEvent(event);
    viewport()->update();
}

void FileListView::paintEvent(QPaintEvent* event) {
    if (!model()) return;
    QPainter painter(viewport());
    const int height = rowHeight();
    const int count = rows();
    const QRect area = event->rect();
    const int first = qMax(0, (area.top() + verticalOffset()) / height);
    const int last = qMin(count - 1, (area.bottom() + verticalOffset()) / height);

    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const bool showSelection = hasFocus();
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QModelIndex index = model()->index(row, column, rootIndex());
            option.rect = visualRect(index);
            if (!option.rect.intersects(area)) continue;
            option.state = QStyle::State_Enabled;
            // Only the name cell shows the selection, and only while the list has the focus.
            if (column == 0 && showSelection && selectionModel()->isSelected(index)) {
                option.state |= QStyle::State_Selected | QStyle::State_Active;
            }
            if (column == 0 && showSelection && index == currentIndex()) {
                option.state |= QStyle::State_HasFocus;
            }
            itemDelegate()->paint(&painter, option, index);
        }
    }
}
