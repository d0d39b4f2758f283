// SPDX-License-Identifier: MIT
#include "tools/samples/collection.h"

#include "tools/samples/dxf_drawing.h"
#include "tools/samples/engine_writer.h"

namespace samples {

QStringList Categories() {
    return {QStringLiteral("All"),     QStringLiteral("Background"), QStringLiteral("Border"),
            QStringLiteral("Header"),  QStringLiteral("Letter"),     QStringLiteral("Misc"),
            QStringLiteral("Ornament")};
}

std::vector<TSample> Collection() {
    std::vector<TSample> all;
    AddBorders(all);
    AddOrnaments(all);
    AddLetters(all);
    AddHeaders(all);
    AddBackgrounds(all);
    AddMisc(all);
    // Each category of twenty holds every format the engine writes.
    using F = TSampleFormat;
    static const F order[] = {F::Bmp24,       F::Png,    F::Bmp8,    F::Jpg,     F::Bmp4,
                              F::Bmp1,        F::TifLzw, F::Pcx,     F::Gif,     F::Tga,
                              F::TifPackBits, F::Eps,    F::TifNone, F::TifFax4, F::TifPages,
                              F::Bmp24,       F::Png,    F::Jpg,     F::Gif,     F::Pcx};
    for (size_t i = 0; i < all.size(); ++i)
        all[i].Format = order[i % (sizeof order / sizeof *order)];
    // One Photo CD pack (they are large) and one drawing.
    all.back().Format = F::Pcd;
    TSample drawing;
    drawing.Stem = QStringLiteral("ROSE01");
    drawing.Description = QStringLiteral("Compass rose drawn in lines, arcs and a star");
    drawing.Category = QStringLiteral("misc");
    drawing.Data = CompassRoseDrawing;
    drawing.Format = F::Dxf;
    all.push_back(drawing);
    return all;
}

QString Extension(TSampleFormat format) {
    switch (format) {
    case TSampleFormat::Png:
        return QStringLiteral("PNG");
    case TSampleFormat::Jpg:
        return QStringLiteral("JPG");
    case TSampleFormat::TifNone:
    case TSampleFormat::TifLzw:
    case TSampleFormat::TifPackBits:
    case TSampleFormat::TifFax4:
    case TSampleFormat::TifPages:
        return QStringLiteral("TIF");
    case TSampleFormat::Pcx:
        return QStringLiteral("PCX");
    case TSampleFormat::Gif:
        return QStringLiteral("GIF");
    case TSampleFormat::Tga:
        return QStringLiteral("TGA");
    case TSampleFormat::Eps:
        return QStringLiteral("EPS");
    case TSampleFormat::Pcd:
        return QStringLiteral("PCD");
    case TSampleFormat::Dxf:
        return QStringLiteral("DXF");
    default:
        return QStringLiteral("BMP");
    }
}

QByteArray Encode(const TSample& sample) {
    if (sample.Format == TSampleFormat::Dxf)
        return sample.Data ? sample.Data() : QByteArray();
    return WriteWithEngine(sample.Draw(), sample.Format);
}

} // namespace samples
