// SPDX-License-Identifier: MIT
#include "controls/overview/tile_delegate.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>

namespace controls {

TileDelegate::TileDelegate(std::function<const Tile*(int row)> find, QObject* parent)
    : QStyledItemDelegate(parent)
    , find_(std::move(find)) {}

QSize TileDelegate::CellSize(const QFontMetrics& metrics) const {
    return QSize(side_ + 2 * kMargin, side_ + metrics.height() + 3 * kMargin);
}

QSize TileDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return CellSize(option.fontMetrics);
}

void TileDelegate::PaintBroken(QPainter& painter, const QRect& square) {
    // A sheet with a torn corner and a red cross: the picture could not be read.
    const QRectF sheet = QRectF(square).adjusted(square.width() * 0.25, square.height() * 0.2,
                                                 -square.width() * 0.25, -square.height() * 0.2);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(96, 96, 96), 1.5));
    painter.setBrush(QColor(250, 250, 250));
    QPainterPath path;
    const qreal fold = sheet.width() * 0.3;
    path.moveTo(sheet.topLeft());
    path.lineTo(sheet.right() - fold, sheet.top());
    path.lineTo(sheet.right(), sheet.top() + fold);
    path.lineTo(sheet.bottomRight());
    path.lineTo(sheet.bottomLeft());
    path.closeSubpath();
    painter.drawPath(path);
    painter.setPen(QPen(QColor(200, 30, 30), std::max<qreal>(2, sheet.width() / 12)));
    const QRectF cross = sheet.adjusted(sheet.width() * 0.25, sheet.height() * 0.3,
                                        -sheet.width() * 0.25, -sheet.height() * 0.2);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    painter.restore();
}

const QStaticText& TileDelegate::CaptionOf(int row, const QString& source, int width,
                                           const QStyleOptionViewItem& option) const {
    Caption* caption = captions_.object(row);
    if (!caption || caption->Source != source || caption->Width != width ||
        caption->Font != option.font) {
        caption = new Caption{source, width, option.font, {}};
        caption->Text.setTextFormat(Qt::PlainText);
        caption->Text.setText(option.fontMetrics.elidedText(source, Qt::ElideMiddle, width));
        caption->Text.prepare(QTransform(), option.font);
        captions_.insert(row, caption);
    }
    return caption->Text;
}

QRect TileDelegate::CaptionRect(const QRect& cell, const QFontMetrics& metrics) const {
    return QRect(cell.left() + kMargin / 2, cell.top() + kMargin + side_ - 1 + kMargin,
                 cell.width() - kMargin, metrics.height());
}

void TileDelegate::PrepareCaption(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    CaptionOf(index.row(), index.data(Qt::DisplayRole).toString(),
              CaptionRect(option.rect, option.fontMetrics).width(), option);
}

void TileDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const QRect cell = option.rect;
    const QPalette& palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const bool current = view && view->currentIndex() == index;
    if (selected)
        painter->fillRect(cell.adjusted(1, 1, -1, -1), palette.highlight());

    const QRect square(cell.left() + (cell.width() - side_) / 2, cell.top() + kMargin, side_,
                       side_);
    const Tile* tile = find_(index.row());
    if (!tile) {
        // On its way: a quiet frame where it will be.
        painter->setPen(QPen(palette.mid().color(), 1, Qt::DotLine));
        painter->drawRect(square.adjusted(0, 0, -1, -1));
    } else if (tile->What == Tile::Kind::Picture) {
        // Drawn at a whole pixel at its own size: a plain copy. The view paints with smooth
        // pixmap scaling on, which sends even a copy through the (much slower) scaling path.
        const QSize shown = tile->Image.deviceIndependentSize().toSize();
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter->drawImage(QPoint(square.left() + (side_ - shown.width()) / 2,
                                  square.top() + (side_ - shown.height()) / 2),
                           tile->Image);
        painter->restore();
    } else if (tile->What == Tile::Kind::Label) {
        painter->setPen(QPen(palette.mid().color(), 1));
        painter->setBrush(palette.base());
        painter->drawRect(square.adjusted(side_ / 8, side_ / 8, -side_ / 8 - 1, -side_ / 8 - 1));
        painter->setPen(palette.text().color());
        painter->drawText(square.adjusted(side_ / 8 + 2, 0, -side_ / 8 - 2, 0),
                          Qt::AlignCenter | Qt::TextWordWrap, tile->Text);
    } else {
        PaintBroken(*painter, square);
    }

    const QRect caption = CaptionRect(cell, option.fontMetrics);
    painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
    painter->setFont(option.font);
    const QStaticText& text =
        CaptionOf(index.row(), index.data(Qt::DisplayRole).toString(), caption.width(), option);
    const QSizeF size = text.size();
    painter->drawStaticText(QPointF(caption.left() + (caption.width() - size.width()) / 2,
                                    caption.top() + (caption.height() - size.height()) / 2),
                            text);
    if (current) {
        // The current record's tile: a frame that shows with or without the selection.
        painter->setPen(
            QPen(selected ? palette.highlightedText().color() : palette.highlight().color(), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(cell.adjusted(2, 2, -2, -2));
    }
}

} // namespace controls
