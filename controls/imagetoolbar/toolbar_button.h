// SPDX-License-Identifier: MIT
#pragma once

#include <QToolButton>

namespace controls {

class TILDBMultiImageToolBar;

/// One button of the image toolbar: a flat speed button without the keyboard focus of its
/// own, with two glyphs (normal, disabled), a toggle group, and the toolbar's focus mark.
class TILDBMultiImageToolBarButton : public QToolButton {
    Q_OBJECT
public:
    TILDBMultiImageToolBarButton(TILDBMultiImageToolBar* toolbar, int index);
    int Index() const { return index_; }
    int GroupIndex = 0; // 0: a push button; else its own toggle group
    void SetFlat(bool flat) { setAutoRaise(flat); }
    /// Sets the two glyphs from a resource of both side by side (at the screen's density).
    void SetGlyphs(const QString& resource);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TILDBMultiImageToolBar* toolbar_;
    int index_;
    QString resource_;
    int scale_ = 0;
};

} // namespace controls
