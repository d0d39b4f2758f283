// SPDX-License-Identifier: MIT
#include "controls/effects/effect_preview.h"

#include <QPainter>

namespace controls {

EffectPreview::EffectPreview(QWidget* parent)
    : QWidget(parent) {
    setContentsMargins(1, 1, 1, 1);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void EffectPreview::SetImage(const QImage& image) {
    image_ = image;
    update();
}

QPoint EffectPreview::Origin(QSize image) const {
    const QRect room = contentsRect();
    return {room.left() + (room.width() - image.width()) / 2,
            room.top() + (room.height() - image.height()) / 2};
}

void EffectPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!image_.isNull())
        painter.drawImage(Origin(image_.size()), image_);
}

} // namespace controls
