// SPDX-License-Identifier: MIT
#include "imaging/decoding/blob_detection.h"

#include "engines/dib/dib_layout.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/formats/format_table.h"
#include "imaging/metafile/metafile_header.h"

namespace imaging {

namespace {

// Kinds of text found in the first bytes; a zero byte counts as a blank there.
constexpr qsizetype kTextHead = 45;

void Unsized(BlobInfo& info) {
    info.BlobWidth = info.BlobHeight = -1;
    info.BlobBitsPerPixel = info.BlobExtraA = info.BlobExtraB = -1;
}

// The engine's format names as the loaders know them.
QString LoadNameOf(const QString& format) {
    const PictureFormat* known = FormatOfInfoName(format);
    return known ? QString::fromLatin1(known->LoadName) : QStringLiteral("-1");
}

} // namespace

void BlobInfo::Clear() {
    BlobFormat.clear();
    BlobCompression.clear();
    BlobWidth = BlobHeight = 0;
    BlobBitsPerPixel = BlobExtraA = BlobExtraB = 0;
    BlobSize = 0;
}

std::int32_t EngineLength(const QByteArray& blob) {
    return static_cast<std::int32_t>(std::min<qsizetype>(blob.size(), 0x7FFFFFFF));
}

int GraphicHeaderOffset(const QByteArray& blob) {
    if (blob.size() < 8)
        return 0;
    const auto* p = reinterpret_cast<const std::uint8_t*>(blob.constData());
    const bool header = dib::Get16(p) == 1 && dib::Get16(p + 2) == 0x0100 &&
                        std::int64_t(dib::Get32(p + 4)) + 8 == blob.size();
    return header ? 8 : 0;
}

QString LoadNameByFirstBytes(const QByteArray& blob) {
    if (DetectMetafile(blob) != MetafileKind::None)
        return QStringLiteral("WMF");
    QByteArray head = blob.left(kTextHead);
    head.replace('\0', ' ');
    if (head.contains("belisqor"))
        return QStringLiteral("SCM");
    if (head.contains("qorbelis"))
        return QStringLiteral("CMS");
    if (head.contains("SECTION"))
        return QStringLiteral("DXF");
    if (head.contains("\\rtf"))
        return QStringLiteral("RTF");
    return {};
}

Detection DetectBlob(const QByteArray& blob, int tiffPage, BlobInfo& info, int pixelsPerInch) {
    Detection result;
    info.BlobFormat = QStringLiteral("Empty");
    info.BlobWidth = info.BlobHeight = -1;
    info.BlobBitsPerPixel = info.BlobExtraA = info.BlobExtraB = -1;
    info.BlobSize = -1;
    info.BlobCompression = QStringLiteral("-1");
    auto& engine = EngineBinding::Instance();
    if (blob.isEmpty()) {
        engine.SetLastEngineError(engine.LastEngineError().Code,
                                  QStringLiteral("Error allocation Temporary blob memory"));
        result.engineError = true;
        return result;
    }
    const std::int32_t size = EngineLength(blob);
    auto named = [&](const char* format, const char* compression) {
        info.BlobFormat = QString::fromLatin1(format);
        info.BlobCompression = QString::fromLatin1(compression);
        info.BlobSize = size;
        result.loadName = info.BlobFormat;
        return result;
    };

    const QString early = LoadNameByFirstBytes(blob);
    if (early == QLatin1String("WMF")) {
        const QSize natural = MetafileSize(blob, pixelsPerInch);
        Unsized(info);
        info.BlobWidth = natural.width();
        info.BlobHeight = natural.height();
        return named("WMF", "WMF");
    }
    if (early == QLatin1String("SCM") || early == QLatin1String("CMS")) {
        Unsized(info);
        return named(early == QLatin1String("SCM") ? "SCM" : "CMS", "MSG");
    }
    if (early == QLatin1String("DXF")) {
        std::int16_t w = -1, h = -1, bits = -1;
        GetDxfInfoStream(blob.constData(), size, &w, &h, &bits);
        info.BlobWidth = w;
        info.BlobHeight = h;
        info.BlobBitsPerPixel = bits;
        info.BlobExtraA = info.BlobExtraB = -1;
        return named("DXF", "DXF");
    }
    if (early == QLatin1String("RTF")) {
        Unsized(info);
        return named("RTF", "RTF");
    }

    const int offset = GraphicHeaderOffset(blob);
    StreamFacts facts;
    if (!StreamInfo(blob.constData() + offset, size - offset, &facts)) {
        result.engineError = true;
        return result;
    }
    info.BlobFormat = facts.Format;
    info.BlobCompression = facts.Compression;
    info.BlobWidth = facts.Width; // widened with their sign
    info.BlobHeight = facts.Height;
    info.BlobBitsPerPixel = facts.BitsPerPixel;
    info.BlobExtraA = facts.ExtraA;
    info.BlobExtraB = facts.ExtraB;
    info.BlobSize = size;
    result.loadName = LoadNameOf(facts.Format);
    if (result.loadName == QLatin1String("TIF")) {
        info.TiffPageCount = 0;
        TiffPageInfo page;
        if (GetInfoStream(blob.constData(), size, tiffPage, &page)) {
            info.BlobBitsPerPixel = page.BitsPerPixel;
            info.TiffPageCount = page.PageCount;
            info.BlobCompression = page.Compression;
            info.BlobHeight = page.Height;
            info.BlobWidth = page.Width;
        }
    }
    return result;
}

int ReadDepth(TLoadResolution resolution, int screenBitsPerPixel) {
    switch (resolution) {
    case lColorVga:
        return 0;
    case lMonoChrome:
        return 1;
    case lColor16:
        return 4;
    case lColor256:
        return 8;
    case lColorTrue:
        return 24;
    case lAutoMatic:
        break;
    }
    return screenBitsPerPixel <= 4 ? 4 : screenBitsPerPixel < 16 ? 8 : 24;
}

bool DecodesMonochrome(const QString& loadName, int blobBitsPerPixel) {
    return blobBitsPerPixel < (loadName == QLatin1String("GIF") ? 3 : 4);
}

} // namespace imaging
