// SPDX-License-Identifier: MIT
#include "controls/imagetoolbar/toolbar_button.h"

#include "controls/imagetoolbar/image_toolbar.h"
#include "controls/imagetoolbar/toolbar_glyphs.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <cmath>

namespace controls {

TILDBMultiImageToolBarButton::TILDBMultiImageToolBarButton(TILDBMultiImageToolBar* toolbar,
                                                           int index)
    : QToolButton(toolbar)
    , toolbar_(toolbar)
    , index_(index) {
    setFocusPolicy(Qt::NoFocus); // a speed button: the toolbar keeps the keyboard
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TILDBMultiImageToolBarButton::SetGlyphs(const QString& resource) {
    resource_ = resource;
    // Drawn at the screen's density, so the glyphs are sharp on a high-density screen.
    const int scale = std::max(1, int(std::ceil(devicePixelRatioF())));
    scale_ = scale;
    const QImage both = ToolbarGlyphResource(resource, scale);
    if (both.isNull())
        return;
    const int w = both.width() / 2;
    QPixmap normal = QPixmap::fromImage(both.copy(0, 0, w, both.height()));
    QPixmap disabled = QPixmap::fromImage(both.copy(w, 0, w, both.height()));
    // The face colour of the glyphs is the button's own.
    for (QPixmap* p : {&normal, &disabled}) {
        p->setMask(p->createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
        p->setDevicePixelRatio(scale);
    }
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(disabled, QIcon::Disabled);
    setIcon(icon);
    setIconSize(normal.deviceIndependentSize().toSize());
}

void TILDBMultiImageToolBarButton::showEvent(QShowEvent* event) {
    // On a screen of another density than the one drawn for, the glyphs are drawn again.
    if (!resource_.isEmpty() && int(std::ceil(devicePixelRatioF())) != scale_)
        SetGlyphs(resource_);
    QToolButton::showEvent(event);
}

void TILDBMultiImageToolBarButton::mousePressEvent(QMouseEvent* event) {
    toolbar_->ButtonMouseDown(index_);
    QToolButton::mousePressEvent(event);
}

void TILDBMultiImageToolBarButton::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (!toolbar_->hasFocus() || toolbar_->FocusedButton() != index_)
        return;
    // The focus mark: the client rectangle less 3 pixels a side, one down and right while
    // the button is pressed.
    QRect mark = rect().adjusted(3, 3, -3, -3);
    if (isDown() || isChecked())
        mark.translate(1, 1);
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    p.drawRect(mark.adjusted(0, 0, -1, -1));
}

} // namespace controls
