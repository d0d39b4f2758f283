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

std::vector<Sample> Collection() {
    std::vector<Sample> all;
    AddBorders(all);
    AddOrnaments(all);
    AddLetters(all);
    AddHeaders(all);
    AddBackgrounds(all);
    AddMisc(all);
    // Each category of twenty holds every format the engine writes.
    using F = SampleFormat;
    static const F order[] = {F::Bmp24,       F::Png,    F::Bmp8,    F::Jpg,     F::Bmp4,
                              F::Bmp1,        F::TifLzw, F::Pcx,     F::Gif,     F::Tga,
                              F::TifPackBits, F::Eps,    F::TifNone, F::TifFax4, F::TifPages,
                              F::Bmp24,       F::Png,    F::Jpg,     F::Gif,     F::Pcx};
    for (size_t i = 0; i < all.size(); ++i)
        all[i].Format = order[i % (sizeof order / sizeof *order)];
    // One Photo CD pack (they are large) and one drawing.
    all.back().Format = F::Pcd;
    Sample drawing;
    drawing.Stem = QStringLiteral("ROSE01");
    drawing.Description = QStringLiteral("Compass rose drawn in lines, arcs and a star");
    drawing.Category = QStringLiteral("misc");
    drawing.Data = CompassRoseDrawing;
    drawing.Format = F::Dxf;
    all.push_back(drawing);
    return all;
}

QString Extension(SampleFormat format) {
    switch (format) {
    case SampleFormat::Png:
        return QStringLiteral("PNG");
    case SampleFormat::Jpg:
        return QStringLiteral("JPG");
    case SampleFormat::TifNone:
    case SampleFormat::TifLzw:
    case SampleFormat::TifPackBits:
    case SampleFormat::TifFax4:
    case SampleFormat::TifPages:
        return QStringLiteral("TIF");
    case SampleFormat::Pcx:
        return QStringLiteral("PCX");
    case SampleFormat::Gif:
        return QStringLiteral("GIF");
    case SampleFormat::Tga:
        return QStringLiteral("TGA");
    case SampleFormat::Eps:
        return QStringLiteral("EPS");
    case SampleFormat::Pcd:
        return QStringLiteral("PCD");
    case SampleFormat::Dxf:
        return QStringLiteral("DXF");
    default:
        return QStringLiteral("BMP");
    }
}

QByteArray Encode(const Sample& sample) {
    if (sample.Format == SampleFormat::Dxf)
        return sample.Data ? sample.Data() : QByteArray();
    return WriteWithEngine(sample.Draw(), sample.Format);
}

} // namespace samples
