// SPDX-License-Identifier: MIT
#pragma once

#include "controls/datalist/list_rows.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <functional>
#include <optional>

namespace controls {

/// A single-column list box with row tracking, a visible-lines setting and an
/// item-reordering drag mode. It lays out nothing per row: painting, hit tests and scrolling
/// work on the rows on screen only, so a list of any length costs the same to show.
class TCustomDragListBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TCustomDragListBox(QWidget* parent = nullptr);
    ~TCustomDragListBox() override;

    ListRows& Items() { return rows_; }
    const ListRows& Items() const { return rows_; }

    /// Rows the box shows; -1 for as many as fit. Values below -1 become -1.
    int Lines() const { return lines_; }
    void SetLines(int value);

    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    bool DragMode() const { return dragMode_; }
    void SetDragMode(bool value) { dragMode_ = value; }
    bool Dragging() const { return dragging_; }

    int ItemIndex() const { return current_; }
    virtual void SetItemIndex(int index);
    bool Selected(int row) const;
    /// The real height of a row, which follows the font.
    int ItemHeight() const;
    int TopIndex() const { return top_; }
    void SetTopIndex(int row);
    /// Where a row lies in the viewport (it may lie outside it).
    QRect RowRect(int row) const;
    /// The row at a viewport position, -1 below the last row.
    int RowAt(QPoint viewportPos) const;

    /// Selects a row (only the caret with MultiSelect on) and scrolls it into view.
    void SelectRow(int index);

    std::function<void(TCustomDragListBox*, int source)> OnMoveOverItem;
    std::function<void(TCustomDragListBox*, int dest, bool& accept)> OnDragCheck;
    std::function<void(TCustomDragListBox*, int source, int dest)> OnMoveItem;
    std::function<void()> OnClick;
    /// Outside the reordering drag mode: a press on a row, then a move past the platform's
    /// drag distance with the button held, asks for a drag of that row out of the list.
    std::function<void(int row)> OnDragOut;

protected:
    /// The user changed the selection with the mouse or the keys.
    virtual void SelectionChangedByUser();
    void ApplyLines();

    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int VisibleRows() const;
    void RowsChanged();
    void UpdateScrollBar();
    void UserSelect(int row);
    void MoveOverItem(int row);
    void DragMoved(QPoint viewportPos);
    bool DropAcceptable(int row);
    void SelectKeepingTop(int row);

    ListRows rows_;
    int current_ = -1;
    QSet<int> selected_; // rows marked with MultiSelect on
    int top_ = 0;
    int lines_ = -1;
    bool extendedSelect_ = false;
    bool multiSelect_ = false;
    bool tabStop_ = true;
    bool dragMode_ = false;
    bool dragging_ = false;
    int dragSource_ = -1;
    int pressRow_ = -1; // the row a drag out would take, while the button is held
    QPoint pressPos_;
    int dropRow_ = -1;
    int lastMoveOver_ = -1;
    qint64 lastScrollMs_ = 0;
    bool applyingLines_ = false;
    std::optional<QCursor> savedCursor_;
    QPoint lastDragPos_;
    QTimer scrollTimer_;
    QTimer releaseTimer_; // lets replaced rows go once the event loop is idle
    QPointer<QWidget> previousFocus_;
    QMetaObject::Connection focusWatch_;
};

} // namespace controls
