// SPDX-License-Identifier: MIT
#include "controls/datalist/drag_list_box.h"

#include <QApplication>
#include <QDateTime>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

namespace {
constexpr int kAutoScrollBaseMs = 100;
}

TCustomDragListBox::TCustomDragListBox(QWidget* parent)
    : QListView(parent)
    , rows_(this) {
    setModel(&rows_);
    setUniformItemSizes(true); // every row the same height: layout costs nothing per row
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetSelectionMode();
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (programmatic_ == 0 && !dragging_)
            SelectionChangedByUser();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now != this && now != viewport())
            previousFocus_ = now;
        else if (old != this && old != viewport())
            previousFocus_ = old;
    });
    scrollTimer_.setSingleShot(true);
    connect(&scrollTimer_, &QTimer::timeout, this, [this] {
        if (dragging_)
            DragMoved(lastDragPos_);
    });
}

void TCustomDragListBox::SetLines(int value) {
    value = std::max(-1, value);
    if (value != lines_) {
        lines_ = value;
        ApplyLines();
    }
}

void TCustomDragListBox::SetSelectionMode() {
    if (!multiSelect_)
        setSelectionMode(QAbstractItemView::SingleSelection);
    else
        setSelectionMode(extendedSelect_ ? QAbstractItemView::ExtendedSelection
                                         : QAbstractItemView::MultiSelection);
}

void TCustomDragListBox::SetExtendedSelect(bool value) {
    extendedSelect_ = value;
    if (value)
        dragMode_ = false;
    SetSelectionMode();
}

void TCustomDragListBox::SetMultiSelect(bool value) {
    multiSelect_ = value;
    if (value)
        dragMode_ = false;
    SetSelectionMode();
}

void TCustomDragListBox::SetTabStop(bool value) {
    tabStop_ = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

int TCustomDragListBox::ItemIndex() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TCustomDragListBox::SetItemIndex(int index) {
    SelectRow(index);
}

int TCustomDragListBox::ItemHeight() const {
    if (rows_.Count() > 0)
        return qMax(1, sizeHintForRow(0));
    return fontMetrics().height() + 2;
}

int TCustomDragListBox::TopIndex() const {
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void TCustomDragListBox::SetTopIndex(int row) {
    if (row >= 0 && row < rows_.Count())
        scrollTo(rows_.index(row), QAbstractItemView::PositionAtTop);
}

void TCustomDragListBox::SelectRow(int index) {
    ++programmatic_;
    if (index < 0 || index >= rows_.Count()) {
        selectionModel()->clear(); // also the current row
    } else if (multiSelect_) {
        selectionModel()->setCurrentIndex(rows_.index(index), QItemSelectionModel::NoUpdate);
    } else {
        selectionModel()->setCurrentIndex(rows_.index(index), QItemSelectionModel::ClearAndSelect);
    }
    --programmatic_;
    if (index < 0 || index >= rows_.Count())
        return;
    const int rows = lines_ != -1 ? lines_ : viewport()->height() / ItemHeight();
    const int top = TopIndex();
    if (index < top)
        SetTopIndex(index);
    else if (index >= top + rows)
        SetTopIndex(qMax(0, index - rows + 1));
}

void TCustomDragListBox::SelectKeepingTop(int row) {
    const int top = TopIndex();
    ++programmatic_;
    selectionModel()->setCurrentIndex(rows_.index(row), QItemSelectionModel::ClearAndSelect);
    --programmatic_;
    SetTopIndex(top);
}

void TCustomDragListBox::SelectionChangedByUser() {
    if (OnClick)
        OnClick();
}

void TCustomDragListBox::ApplyLines() {
    if (lines_ == -1 || !isVisible() || applyingLines_)
        return;
    applyingLines_ = true;
    const int frame = height() - viewport()->height();
    resize(width(), frame + ItemHeight() * lines_);
    setVerticalScrollBarPolicy(rows_.Count() > lines_ ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
    applyingLines_ = false;
}

void TCustomDragListBox::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    ApplyLines();
}

void TCustomDragListBox::showEvent(QShowEvent* event) {
    QListView::showEvent(event);
    ApplyLines();
}

void TCustomDragListBox::changeEvent(QEvent* event) {
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ApplyLines();
}

void TCustomDragListBox::focusInEvent(QFocusEvent* event) {
    if (!tabStop_ && previousFocus_ && previousFocus_ != this) {
        previousFocus_->setFocus();
        return;
    }
    QListView::focusInEvent(event);
}

int TCustomDragListBox::RowAt(QPoint viewportPos) const {
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

void TCustomDragListBox::MoveOverItem(int row) {
    if (row == lastMoveOver_)
        return;
    lastMoveOver_ = row;
    if (OnMoveOverItem)
        OnMoveOverItem(this, row);
}

bool TCustomDragListBox::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Leave:
        if (!dragging_)
            MoveOverItem(-1);
        break;
    case QEvent::MouseMove:
        if (!dragging_)
            MoveOverItem(RowAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

void TCustomDragListBox::mousePressEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint());
    if (!dragging_)
        MoveOverItem(row);
    if (!dragMode_ || event->button() != Qt::LeftButton) {
        QListView::mousePressEvent(event);
        return;
    }
    if (row < 0)
        return;
    dragSource_ = row;
    SelectKeepingTop(row);
    lastScrollMs_ = 0;
    dropRow_ = -1;
    savedCursor_ = viewport()->cursor();
    viewport()->grabMouse();
    dragging_ = true;
}

bool TCustomDragListBox::DropAcceptable(int row) {
    if (row < 0 || row == dragSource_)
        return false;
    bool accept = true;
    if (OnDragCheck)
        OnDragCheck(this, row, accept);
    return accept;
}

// Outside the rows during a drag the list scrolls a line at a time, the faster the farther
// the mouse is from the edge; a timer keeps it going while the mouse stands still.
void TCustomDragListBox::DragMoved(QPoint pos) {
    lastDragPos_ = pos;
    const int extent = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    int distance = 0;
    int step = 0;
    if (pos.y() < 0 && bar->value() > bar->minimum()) {
        distance = -pos.y();
        step = -1;
    } else if (pos.y() >= extent && bar->value() < bar->maximum()) {
        distance = pos.y() - extent + 1;
        step = 1;
    }
    if (step != 0) {
        const int delay = qMax(0, kAutoScrollBaseMs - distance);
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (now - lastScrollMs_ >= delay) {
            bar->setValue(bar->value() + step);
            lastScrollMs_ = now;
        }
        scrollTimer_.start(qMax(1, delay));
    }
    const int row = RowAt(pos);
    if (row != dropRow_) {
        dropRow_ = row;
        viewport()->setCursor(DropAcceptable(row) ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    }
}

void TCustomDragListBox::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        DragMoved(event->position().toPoint());
        return;
    }
    QListView::mouseMoveEvent(event);
}

void TCustomDragListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QListView::mouseReleaseEvent(event);
        return;
    }
    const int drop = RowAt(event->position().toPoint());
    if (DropAcceptable(drop)) {
        setUpdatesEnabled(false); // the move is drawn in one update
        rows_.Move(dragSource_, drop);
        SelectKeepingTop(drop);
        if (multiSelect_)
            selectionModel()->select(rows_.index(drop), QItemSelectionModel::Select);
        setUpdatesEnabled(true);
        if (OnMoveItem)
            OnMoveItem(this, dragSource_, drop);
    }
    dragging_ = false;
    scrollTimer_.stop();
    viewport()->releaseMouse();
    if (savedCursor_)
        viewport()->setCursor(*savedCursor_);
    savedCursor_.reset();
    if (rect().contains(event->position().toPoint()))
        SelectionChangedByUser();
}
