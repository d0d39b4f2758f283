// SPDX-License-Identifier: MIT
#pragma once

#include "controls/datalist/list_rows.h"

#include <QCursor>
#include <QListView>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

/// A single-column list box with row tracking, a visible-lines setting and an
/// item-reordering drag mode.
class TCustomDragListBox : public QListView {
    Q_OBJECT
public:
    explicit TCustomDragListBox(QWidget* parent = nullptr);

    TListRows& Items() { return rows_; }
    const TListRows& Items() const { return rows_; }

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

    int ItemIndex() const;
    virtual void SetItemIndex(int index);
    /// The real height of a row, which follows the font.
    int ItemHeight() const;
    int TopIndex() const;
    void SetTopIndex(int row);

    /// Selects a row (only the caret with MultiSelect on) and scrolls it into view.
    void SelectRow(int index);

    std::function<void(TCustomDragListBox*, int source)> OnMoveOverItem;
    std::function<void(TCustomDragListBox*, int dest, bool& accept)> OnDragCheck;
    std::function<void(TCustomDragListBox*, int source, int dest)> OnMoveItem;
    std::function<void()> OnClick;

protected:
    /// The user changed the selection with the mouse or the keys.
    virtual void SelectionChangedByUser();
    void ApplyLines();

    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int RowAt(QPoint viewportPos) const;
    void MoveOverItem(int row);
    void SetSelectionMode();
    void DragMoved(QPoint viewportPos);
    void AutoScroll();
    bool DropAcceptable(int row);
    void SelectKeepingTop(int row);

    TListRows rows_;
    int lines_ = -1;
    bool extendedSelect_ = false;
    bool multiSelect_ = false;
    bool tabStop_ = true;
    bool dragMode_ = false;
    bool dragging_ = false;
    int dragSource_ = -1;
    int dropRow_ = -1;
    int lastMoveOver_ = -1;
    qint64 lastScrollMs_ = 0;
    bool applyingLines_ = false;
    int programmatic_ = 0; // selections made by code, not by the user
    std::optional<QCursor> savedCursor_;
    QPoint lastDragPos_;
    QTimer scrollTimer_;
    QPointer<QWidget> previousFocus_;
};
