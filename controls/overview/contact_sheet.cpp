// SPDX-License-Identifier: MIT
#include "controls/overview/contact_sheet.h"

#include "controls/overview/tile_delegate.h"
#include "controls/overview/tile_loader.h"
#include "imaging/decoding/decoder.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace controls {

QRectF ContactSheetLayout::Cell(const QRectF& body, int index) const {
    const qreal width = body.width() / Columns, height = body.height() / Rows;
    return QRectF(body.left() + (index % Columns) * width, body.top() + (index / Columns) * height,
                  width, height);
}

ContactSheet::ContactSheet(imaging::Decoder& decoder, ContactSheetLayout layout, QString header)
    : decoder_(decoder)
    , layout_(layout)
    , header_(std::move(header)) {
    layout_.Columns = std::clamp(layout_.Columns, 1, ContactSheetLayout::kMaxColumns);
    layout_.Rows = std::clamp(layout_.Rows, 1, ContactSheetLayout::kMaxRows);
}

namespace {

// Up to `lines` lines of a text wrapped into a width, the last one cut with an ellipsis.
QStringList Wrapped(const QString& text, const QFont& font, QPaintDevice* device, qreal width,
                    int lines) {
    QStringList out;
    QTextLayout layout(text, font, device);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (out.size() == lines - 1) {
            out << QFontMetricsF(font, device)
                       .elidedText(text.mid(line.textStart()), Qt::ElideRight, width);
            break;
        }
        out << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return out;
}

// A picture's place in its box: centred across, standing on its caption.
QRectF Above(const QRectF& box, const QSizeF& shown) {
    return QRectF(QPointF(box.center().x() - shown.width() / 2, box.bottom() - shown.height()),
                  shown);
}

} // namespace

void ContactSheet::PaintCell(QPainter& painter, const QRectF& cell, const ContactSheetEntry& entry,
                             const imaging::DecodeResult& picture) {
    QPaintDevice* device = painter.device();
    const QFontMetricsF metrics(painter.font(), device);
    const qreal pad = metrics.height() * 0.4;
    const qreal line = metrics.lineSpacing();
    const QRectF inner = cell.adjusted(pad, pad, -pad, -pad);
    // Under the picture: the file name in bold, then up to two lines of the description.
    const QRectF box(inner.left(), inner.top(), inner.width(), inner.height() - 3.2 * line);
    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(inner.left(), box.bottom() + 0.2 * line, inner.width(), line),
        Qt::AlignHCenter | Qt::AlignTop,
        QFontMetricsF(bold, device).elidedText(entry.FileName, Qt::ElideMiddle, inner.width()));
    painter.restore();
    const QStringList description =
        Wrapped(entry.Description, painter.font(), device, inner.width(), 2);
    for (int i = 0; i < description.size(); ++i)
        painter.drawText(QRectF(inner.left(), box.bottom() + (1.2 + i) * line, inner.width(), line),
                         Qt::AlignHCenter | Qt::AlignTop, description[i]);
    if (box.height() <= 0)
        return;

    using Kind = imaging::DecodeResult::Kind;
    if (picture.What == Kind::Picture && !picture.Bitmap.Handle().isNull()) {
        const QImage& image = picture.Bitmap.Handle();
        const QSizeF shown = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
        const QRectF target = Above(box, shown);
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image); // every pixel goes to the printer
        painter.restore();
    } else if (picture.What == Kind::Drawing) {
        const QSizeF shown = QSizeF(picture.Drawing.Size()).scaled(box.size(), Qt::KeepAspectRatio);
        const QRectF target = Above(box, shown);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipRect(target);
        picture.Drawing.Play(painter, target); // as vectors, sharp on paper
        painter.restore();
    } else {
        const Tile tile = TileLoader::TileOf(picture);
        const qreal side = std::min(box.width(), box.height());
        const QRectF square(box.center() - QPointF(side, side) / 2, QSizeF(side, side));
        if (tile.What == Tile::Kind::Broken) {
            TileDelegate::PaintBroken(painter, square.toAlignedRect());
        } else {
            painter.save();
            painter.setPen(QPen(Qt::gray, 0));
            painter.drawRect(square.adjusted(side / 8, side / 8, -side / 8, -side / 8));
            painter.restore();
        }
        painter.drawText(square.adjusted(side / 8, side / 8, -side / 8, -side / 8),
                         Qt::AlignCenter | Qt::TextWordWrap, tile.Text);
    }
}

bool ContactSheet::Print(QPagedPaintDevice& device, int count,
                         const std::function<ContactSheetEntry(int)>& read,
                         const std::function<bool(int, int)>& progress) const {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const int pages = layout_.Pages(count);
    const QRectF page(0, 0, device.width(), device.height());
    QFont font = painter.font();
    font.setPointSizeF(std::clamp(11.0 - layout_.Columns, 6.0, 10.0));
    painter.setFont(font);
    QFont headerFont = font;
    headerFont.setPointSizeF(11);
    headerFont.setBold(true);
    const qreal headerHeight = QFontMetricsF(headerFont, &device).lineSpacing() * 1.8;
    const QRectF body = page.adjusted(0, headerHeight, 0, 0);
    for (int p = 0; p < pages; ++p) {
        if (progress && !progress(p, pages)) {
            painter.end();
            return false;
        }
        if (p > 0)
            device.newPage();
        // The page's pictures are decoded together, on the workers.
        const int first = p * layout_.PerPage();
        const int last = std::min(count, first + layout_.PerPage());
        std::vector<ContactSheetEntry> entries;
        std::vector<std::shared_ptr<imaging::DecodeJob>> jobs;
        for (int i = first; i < last; ++i) {
            entries.push_back(read(i));
            imaging::DecodeRequest request;
            request.Blob = entries.back().Picture;
            request.PixelsPerInch = device.logicalDpiX();
            jobs.push_back(decoder_.Submit(std::move(request), 1));
        }
        painter.save();
        painter.setFont(headerFont);
        const QRectF band(page.left(), page.top(), page.width(), headerHeight * 0.7);
        painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, header_);
        painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages));
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QPointF(page.left(), band.bottom()), QPointF(page.right(), band.bottom()));
        painter.restore();
        for (size_t i = 0; i < entries.size(); ++i)
            PaintCell(painter, layout_.Cell(body, int(i)), entries[i], jobs[i]->Wait());
    }
    return painter.end();
}

} // namespace controls
