// SPDX-License-Identifier: MIT
// The metafile device context's objects: pens, brushes and fonts as the records describe
// them, the object table and the stock objects.
#include "imaging/metafile/metafile_dc.h"

namespace imaging {

MetaPen MakePen(unsigned style, double width, QColor colour) {
    MetaPen made;
    const unsigned kind = style & 0x0F;
    if (kind == 5) { // the null pen
        made.null = true;
        return made;
    }
    QPen pen(colour, std::max(0.0, std::min(width, 1e6)));
    switch (kind) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    const unsigned cap = style & 0x0F00, join = style & 0xF000;
    pen.setCapStyle(cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(join == 0x1000   ? Qt::BevelJoin
                     : join == 0x2000 ? Qt::MiterJoin
                                      : Qt::RoundJoin);
    pen.setCosmetic(width <= 0);
    made.pen = pen;
    return made;
}

MetaBrush MakeBrush(unsigned style, QColor colour, unsigned hatch) {
    MetaBrush made;
    if (style == 1) {
        made.null = true;
        return made;
    }
    if (style == 2) {
        static const Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                  Qt::FDiagPattern, Qt::BDiagPattern,
                                                  Qt::CrossPattern, Qt::DiagCrossPattern};
        made.brush = QBrush(colour, hatch < 6 ? kHatches[hatch] : Qt::SolidPattern);
        return made;
    }
    made.brush = QBrush(colour);
    return made;
}

MetaFont MakeFont(int height, int escapement, int weight, bool italic, bool underline,
                  bool strikeOut, const QString& face) {
    MetaFont made;
    made.height = height;
    made.escapement = escapement;
    QFont font(face.isEmpty() ? QStringLiteral("Liberation Sans") : face);
    font.setBold(weight >= 600);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    made.font = font;
    return made;
}

// ---- Objects -------------------------------------------------------------------------------

int MetafileDc::FreeSlot() const {
    for (std::size_t i = 0; i < objects_.size(); ++i)
        if (std::holds_alternative<std::monostate>(objects_[i]))
            return int(i);
    return -1;
}

bool MetafileDc::Store(int slot, MetaObject object) {
    if (slot < 0 || std::size_t(slot) >= objects_.size())
        return false;
    objects_[std::size_t(slot)] = std::move(object);
    return true;
}

bool MetafileDc::Select(int slot) {
    if (slot < 0 || std::size_t(slot) >= objects_.size())
        return false;
    const MetaObject& object = objects_[std::size_t(slot)];
    if (const auto* pen = std::get_if<MetaPen>(&object)) {
        state_.pen = pen->pen;
        state_.nullPen = pen->null;
    } else if (const auto* brush = std::get_if<MetaBrush>(&object)) {
        state_.brush = brush->brush;
        state_.nullBrush = brush->null;
    } else if (const auto* font = std::get_if<MetaFont>(&object)) {
        state_.font = *font;
    }
    return !std::holds_alternative<std::monostate>(object);
}

bool MetafileDc::Delete(int slot) {
    if (slot < 0 || std::size_t(slot) >= objects_.size())
        return false;
    objects_[std::size_t(slot)] = std::monostate{};
    return true;
}

void MetafileDc::SelectStockObject(int stock) {
    switch (stock) {
    case 0: // white, light grey, grey, dark grey and black brushes
    case 1:
    case 2:
    case 3:
    case 4: {
        static const QColor kGreys[] = {Qt::white, QColor(192, 192, 192), QColor(128, 128, 128),
                                        QColor(64, 64, 64), Qt::black};
        state_.brush = QBrush(kGreys[stock]);
        state_.nullBrush = false;
        break;
    }
    case 5:
        state_.nullBrush = true;
        break;
    case 6:
    case 7:
        state_.pen = QPen(stock == 6 ? Qt::white : Qt::black, 0);
        state_.nullPen = false;
        break;
    case 8:
        state_.nullPen = true;
        break;
    default: // the stock fonts and palettes
        break;
    }
}

} // namespace imaging
