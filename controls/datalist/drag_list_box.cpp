// SPDX-License-Identifier: MIT
#include "controls/datalist/drag_list_box.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace controls {

namespace {
constexpr int kAutoScrollBaseMs = 100;
}

TCustomDragListBox::TCustomDragListBox(QWidget* parent)
    : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    rows_.Changed = [this] { RowsChanged(); };
    QWidget* view = viewport();
    focusWatch_ =
        connect(qApp, &QApplication::focusChanged, this, [this, view](QWidget* old, QWidget* now) {
            if (now != this && now != view)
                previousFocus_ = now;
            else if (old != this && old != view)
                previousFocus_ = old;
        });
    releaseTimer_.setSingleShot(true);
    connect(&releaseTimer_, &QTimer::timeout, this, [this] { rows_.ReleaseReplaced(); });
    scrollTimer_.setSingleShot(true);
    connect(&scrollTimer_, &QTimer::timeout, this, [this] {
        if (dragging_)
            DragMoved(lastDragPos_);
    });
}

TCustomDragListBox::~TCustomDragListBox() {
    // Focus moves while the box goes away must not reach the half-destroyed box.
    disconnect(focusWatch_);
}

void TCustomDragListBox::RowsChanged() {
    releaseTimer_.start(0);
    if (current_ >= rows_.Count())
        current_ = -1;
    selected_.clear();
    if (current_ >= 0)
        selected_.insert(current_);
    UpdateScrollBar();
    ApplyLines();
    viewport()->update();
}

int TCustomDragListBox::ItemHeight() const {
    return fontMetrics().height() + 2;
}

int TCustomDragListBox::VisibleRows() const {
    return lines_ != -1 ? lines_ : std::max(1, viewport()->height() / ItemHeight());
}

void TCustomDragListBox::UpdateScrollBar() {
    const int fit = std::max(1, viewport()->height() / ItemHeight());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, rows_.Count() - fit));
    bar->setPageStep(fit);
    bar->setSingleStep(1);
    top_ = std::clamp(top_, 0, bar->maximum());
    bar->setValue(top_);
}

void TCustomDragListBox::scrollContentsBy(int, int) {
    top_ = verticalScrollBar()->value();
    viewport()->update();
}

void TCustomDragListBox::SetTopIndex(int row) {
    verticalScrollBar()->setValue(std::max(0, row));
    top_ = verticalScrollBar()->value();
    viewport()->update();
}

QRect TCustomDragListBox::RowRect(int row) const {
    const int h = ItemHeight();
    return QRect(0, (row - top_) * h, viewport()->width(), h);
}

int TCustomDragListBox::RowAt(QPoint pos) const {
    if (pos.y() < 0 || pos.x() < 0 || pos.x() >= viewport()->width())
        return -1;
    const int row = top_ + pos.y() / ItemHeight();
    return row < rows_.Count() ? row : -1;
}

bool TCustomDragListBox::Selected(int row) const {
    return multiSelect_ ? selected_.contains(row) : row == current_ && row >= 0;
}

void TCustomDragListBox::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const int h = ItemHeight();
    const int last = std::min(rows_.Count(), top_ + viewport()->height() / h + 2);
    const QPalette& pal = palette();
    for (int row = top_; row < last; ++row) {
        const QRect r = RowRect(row);
        const bool selected = Selected(row);
        if (selected)
            p.fillRect(r, pal.brush(QPalette::Highlight));
        p.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
        p.drawText(r.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, rows_.Text(row));
        if (row == current_ && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = r;
            focus.backgroundColor = pal.color(selected ? QPalette::Highlight : QPalette::Base);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
    }
}

void TCustomDragListBox::SetLines(int value) {
    value = std::max(-1, value);
    if (value != lines_) {
        lines_ = value;
        ApplyLines();
    }
}

void TCustomDragListBox::SetExtendedSelect(bool value) {
    extendedSelect_ = value;
    if (value)
        dragMode_ = false;
}

void TCustomDragListBox::SetMultiSelect(bool value) {
    multiSelect_ = value;
    if (value)
        dragMode_ = false;
}

void TCustomDragListBox::SetTabStop(bool value) {
    tabStop_ = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

void TCustomDragListBox::SetItemIndex(int index) {
    SelectRow(index);
}

void TCustomDragListBox::SelectRow(int index) {
    if (index < 0 || index >= rows_.Count()) {
        current_ = -1;
        if (!multiSelect_)
            selected_.clear();
        viewport()->update();
        return;
    }
    current_ = index;
    if (!multiSelect_) {
        selected_.clear();
        selected_.insert(index);
    }
    const int rows = VisibleRows();
    if (index < top_)
        SetTopIndex(index);
    else if (index >= top_ + rows)
        SetTopIndex(index - rows + 1);
    viewport()->update();
}

void TCustomDragListBox::SelectKeepingTop(int row) {
    const int top = top_;
    current_ = row;
    if (!multiSelect_)
        selected_ = {row};
    SetTopIndex(top);
}

void TCustomDragListBox::UserSelect(int row) {
    if (row < 0 || row >= rows_.Count())
        return;
    SelectRow(row);
    SelectionChangedByUser();
}

void TCustomDragListBox::SelectionChangedByUser() {
    if (OnClick)
        OnClick();
}

void TCustomDragListBox::keyPressEvent(QKeyEvent* event) {
    const int page = std::max(1, VisibleRows() - 1);
    const int last = rows_.Count() - 1;
    int row = current_;
    switch (event->key()) {
    case Qt::Key_Up:
        row = std::max(0, current_ - 1);
        break;
    case Qt::Key_Down:
        row = std::min(last, current_ + 1);
        break;
    case Qt::Key_PageUp:
        row = std::max(0, current_ - page);
        break;
    case Qt::Key_PageDown:
        row = std::min(last, current_ + page);
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = last;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (last >= 0 && row != current_)
        UserSelect(std::max(0, row));
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
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
    ApplyLines();
}

void TCustomDragListBox::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    UpdateScrollBar();
    ApplyLines();
}

void TCustomDragListBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateScrollBar();
        ApplyLines();
    }
}

void TCustomDragListBox::focusInEvent(QFocusEvent* event) {
    if (!tabStop_ && previousFocus_ && previousFocus_ != this) {
        previousFocus_->setFocus();
        return;
    }
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TCustomDragListBox::MoveOverItem(int row) {
    if (row == lastMoveOver_)
        return;
    lastMoveOver_ = row;
    if (OnMoveOverItem)
        OnMoveOverItem(this, row);
}

bool TCustomDragListBox::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && !dragging_)
        MoveOverItem(-1); // also when the mouse goes over the border or the scroll bar
    else if (event->type() == QEvent::MouseMove && !dragging_)
        MoveOverItem(RowAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
    return QAbstractScrollArea::viewportEvent(event);
}

void TCustomDragListBox::mousePressEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint());
    if (!dragging_)
        MoveOverItem(row);
    if (event->button() != Qt::LeftButton || row < 0)
        return;
    if (!dragMode_) {
        if (multiSelect_ && (event->modifiers() & Qt::ControlModifier)) {
            if (!selected_.remove(row))
                selected_.insert(row);
        }
        UserSelect(row);
        pressRow_ = row;
        pressPos_ = event->position().toPoint();
        return;
    }
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
        const int delay = std::max(0, kAutoScrollBaseMs - distance);
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (now - lastScrollMs_ >= delay) {
            SetTopIndex(top_ + step);
            lastScrollMs_ = now;
        }
        scrollTimer_.start(std::max(1, delay));
    }
    const int row = pos.y() >= 0 && pos.y() < extent ? RowAt(pos) : -1;
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
    if (pressRow_ >= 0 && OnDragOut && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressPos_).manhattanLength() >=
            QApplication::startDragDistance()) {
        const int row = pressRow_;
        pressRow_ = -1; // one drag a press
        OnDragOut(row);
    }
}

void TCustomDragListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressRow_ = -1;
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int drop = RowAt(pos);
    if (DropAcceptable(drop)) {
        rows_.Move(dragSource_, drop); // one repaint for the whole move
        SelectKeepingTop(drop);
        if (multiSelect_)
            selected_.insert(drop);
        if (OnMoveItem)
            OnMoveItem(this, dragSource_, drop);
    }
    dragging_ = false;
    scrollTimer_.stop();
    viewport()->releaseMouse();
    if (savedCursor_)
        viewport()->setCursor(*savedCursor_);
    savedCursor_.reset();
    if (viewport()->rect().contains(pos) && drop >= 0)
        UserSelect(drop);
}

} // namespace controls
