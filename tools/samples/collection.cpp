// SPDX-License-Identifier: MIT
#include "tools/samples/collection.h"

#include "tools/samples/dxf_drawing.h"
#include "tools/samples/engine_writer.h"
#include "tools/samples/text_records.h"
#include "tools/samples/vector_pictures.h"

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
    AddOtherKinds(all);
    return all;
}

void AddOtherKinds(std::vector<Sample>& out) {
    using F = SampleFormat;
    auto add = [&](const char* stem, const char* description, const char* category, F format,
                   std::function<QByteArray()> data) {
        Sample s;
        s.Stem = QString::fromLatin1(stem);
        s.Description = QString::fromLatin1(description);
        s.Category = QString::fromLatin1(category);
        s.Format = format;
        s.Data = std::move(data);
        out.push_back(std::move(s));
    };
    add("BALLOON1", "Three balloons on strings over a Hooray! banner (vector)", "misc", F::Wmf,
        BalloonsMetafile);
    add("SUNFLWR1", "Sunflower with a hatched seed head and two leaves (vector)", "ornament",
        F::Wmf, SunflowerMetafile);
    add("TEAPOT1", "Blue teapot with steam and a Tea time label (vector)", "misc", F::Emf,
        TeapotDrawing);
    add("STARBST1", "Golden star over pink and orange rays in a frame (vector)", "header", F::Emf,
        StarburstDrawing);
    add("WELCOME", "Welcome message scrolling across the view", "misc", F::Scm,
        WelcomeScrollingMessage);
    add("CREDITS", "Credits of the collection rolling up the view", "misc", F::Cms,
        CreditsRollingMessage);
    add("LICENCE", "Licence note in rich text (no picture to show)", "misc", F::Rtf,
        LicenceRichText);
    add("NOPICT", "A record whose picture is missing", "misc", F::NoPicture,
        [] { return QByteArray(); });
    // A picture stored behind the 8-byte header of a record source's picture field.
    const std::vector<Sample> letters = [] {
        std::vector<Sample> l;
        AddLetters(l);
        return l;
    }();
    Sample headed = letters.front();
    headed.Stem = QStringLiteral("HEADED1");
    headed.Description = headed.Description + QStringLiteral(" (stored with a field header)");
    headed.Format = F::HeaderBmp;
    out.push_back(headed);
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
    case SampleFormat::Wmf:
        return QStringLiteral("WMF");
    case SampleFormat::Emf:
        return QStringLiteral("EMF");
    case SampleFormat::Scm:
        return QStringLiteral("SCM");
    case SampleFormat::Cms:
        return QStringLiteral("CMS");
    case SampleFormat::Rtf:
        return QStringLiteral("RTF");
    default:
        return QStringLiteral("BMP");
    }
}

QByteArray Encode(const Sample& sample) {
    if (sample.Data)
        return sample.Data();
    if (sample.Format == SampleFormat::HeaderBmp)
        return WithGraphicFieldHeader(WriteWithEngine(sample.Draw(), SampleFormat::Bmp24));
    return WriteWithEngine(sample.Draw(), sample.Format);
}

} // namespace samples
