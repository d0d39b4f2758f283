// SPDX-License-Identifier: MIT
// The overview's geometry: cells of one size, row after row as wide as the view allows, placed
// by arithmetic. Painting, hit tests, keys, selection and scrolling all follow from it.
#include "controls/overview/overview_view.h"
#include "controls/overview/tile_delegate.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace controls {

QSize TOverview::CellSize() const {
    return delegate_->CellSize(fontMetrics());
}

int TOverview::Columns() const {
    return std::max(1, viewport()->width() / CellSize().width());
}

int TOverview::verticalOffset() const {
    return verticalScrollBar()->value();
}

QRect TOverview::CellRect(int row) const {
    const QSize cell = CellSize();
    const int columns = Columns();
    return QRect(
        QPoint((row % columns) * cell.width(), (row / columns) * cell.height() - verticalOffset()),
        cell);
}

QRect TOverview::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= model_->rowCount())
        return {};
    return CellRect(index.row());
}

QModelIndex TOverview::indexAt(const QPoint& point) const {
    const QSize cell = CellSize();
    const int columns = Columns();
    if (point.x() < 0 || point.x() >= columns * cell.width())
        return {};
    const int y = point.y() + verticalOffset();
    if (y < 0)
        return {};
    const qint64 row = qint64(y / cell.height()) * columns + point.x() / cell.width();
    return row < model_->rowCount() ? model_->index(int(row)) : QModelIndex();
}

std::pair<int, int> TOverview::ShownRows() const {
    const int count = model_->rowCount();
    const QSize cell = CellSize();
    const int columns = Columns();
    const int top = std::max(0, verticalOffset());
    const int first = (top / cell.height()) * columns;
    const qint64 last = qint64((top + viewport()->height() - 1) / cell.height() + 1) * columns - 1;
    if (first >= count)
        return {0, -1};
    return {first, int(std::min<qint64>(last, count - 1))};
}

void TOverview::doItemsLayout() {
    // Nothing to lay out: the geometry is arithmetic. The base list view's layout is skipped
    // on purpose (it visits every row); the item view's own bookkeeping still runs.
    QAbstractItemView::doItemsLayout();
}

void TOverview::updateGeometries() {
    const QSize cell = CellSize();
    const qint64 lines = (qint64(model_->rowCount()) + Columns() - 1) / Columns();
    const qint64 height = lines * cell.height();
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(std::max(1, cell.height() / 4));
    bar->setPageStep(std::max(1, viewport()->height()));
    bar->setRange(0, int(std::clamp<qint64>(height - viewport()->height(), 0, INT_MAX)));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
    ScheduleWanted();
}

void TOverview::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    const QRect cell = CellRect(index.row());
    const int height = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    const int top = cell.top() + verticalOffset();
    switch (hint) {
    case PositionAtTop:
        bar->setValue(top);
        break;
    case PositionAtBottom:
        bar->setValue(top + cell.height() - height);
        break;
    case PositionAtCenter:
        bar->setValue(top + cell.height() / 2 - height / 2);
        break;
    case EnsureVisible:
        if (cell.top() < 0)
            bar->setValue(top);
        else if (cell.bottom() >= height)
            bar->setValue(top + cell.height() - height);
        break;
    }
}

QModelIndex TOverview::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int count = model_->rowCount();
    if (count == 0)
        return {};
    const int columns = Columns();
    const int page = std::max(1, viewport()->height() / CellSize().height()) * columns;
    const int row = currentIndex().isValid() ? currentIndex().row() : -1;
    if (row < 0)
        return model_->index(action == MoveEnd ? count - 1 : 0);
    int to = row;
    switch (action) {
    case MoveLeft:
    case MovePrevious:
        to = row - 1;
        break;
    case MoveRight:
    case MoveNext:
        to = row + 1;
        break;
    case MoveUp:
        to = row - columns;
        break;
    case MoveDown:
        // Down from the last full line goes to the last tile, as a text cursor would.
        to = row + columns < count || row / columns == (count - 1) / columns ? row + columns
                                                                             : count - 1;
        break;
    case MovePageUp:
        to = row - page;
        break;
    case MovePageDown:
        to = row + page;
        break;
    case MoveHome:
        to = 0;
        break;
    case MoveEnd:
        to = count - 1;
        break;
    }
    if (to < 0)
        to = action == MovePageUp ? row % columns : row;
    if (to >= count)
        to = action == MovePageDown ? count - 1 : row;
    return model_->index(to);
}

void TOverview::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) {
    // The cells the rectangle touches: in each line of the grid, one run of rows.
    const QRect area = rect.normalized();
    const QSize cell = CellSize();
    const int columns = Columns();
    const int count = model_->rowCount();
    QItemSelection selection;
    const int firstLine = std::max(0, (area.top() + verticalOffset()) / cell.height());
    const int lastLine = (area.bottom() + verticalOffset()) / cell.height();
    const int firstColumn = std::max(0, area.left() / cell.width());
    const int lastColumn = std::min(columns - 1, area.right() / cell.width());
    if (firstColumn > lastColumn) { // right of the last column: no tile
        selectionModel()->select(QItemSelection(), flags);
        return;
    }
    for (int line = firstLine; line <= lastLine; ++line) {
        const int from = line * columns + firstColumn;
        const int to = std::min(count - 1, line * columns + lastColumn);
        if (from > to)
            break;
        selection.select(model_->index(from), model_->index(to));
    }
    selectionModel()->select(selection, flags);
}

QRegion TOverview::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect shown = viewport()->rect();
    const auto [first, last] = ShownRows();
    for (const QItemSelectionRange& range : selection) {
        const int from = std::max(range.top(), first), to = std::min(range.bottom(), last);
        for (int row = from; row <= to; ++row)
            region += CellRect(row) & shown;
    }
    return region;
}

void TOverview::scrollContentsBy(int dx, int dy) {
    // A step of less than a screen moves what is drawn; a page or more paints afresh.
    arrived_.translate(dx, dy); // cells waiting to be painted move with what is drawn
    if (std::abs(dy) < viewport()->height())
        viewport()->scroll(dx, dy);
    else
        viewport()->update();
    ScheduleWanted();
}

void TOverview::paintEvent(QPaintEvent* event) {
    if (holding_)
        return; // the background only, for a frame at most; painted whole once released
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus();
    const auto [first, last] = ShownRows();
    const QRect dirty = event->rect();
    for (int row = first; row <= last; ++row) {
        const QRect cell = CellRect(row);
        if (!cell.intersects(dirty))
            continue;
        const QModelIndex index = model_->index(row);
        option.rect = cell;
        option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        delegate_->paint(&painter, option, index);
    }
}

} // namespace controls
