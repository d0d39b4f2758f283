// SPDX-License-Identifier: MIT
#include "imaging/decoding/picture_decoding.h"

#include "imaging/decoding/blob_detection.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/formats/format_table.h"

namespace imaging {

namespace {

// The engine's reader of a load name: a picture format the engine decodes.
bool ReaderFormat(const QString& loadName, EngineFormat* format) {
    const PictureFormat* known = FormatOfLoadName(loadName);
    if (!known || !known->Engine || known->Kind != PictureKind::Picture)
        return false;
    if (format)
        *format = *known->Engine;
    return true;
}

} // namespace

bool DecodesToBitmap(const QString& loadName) {
    const PictureFormat* known = FormatOfLoadName(loadName);
    return known && known->Engine &&
           (known->Kind == PictureKind::Picture || known->Kind == PictureKind::Drawing);
}

bool DecodePictureBlob(const QString& loadName, const QByteArray& blob, int depth, bool dither,
                       int option, TBitmap& target, void* user, ProgressCallback progress) {
    const std::int32_t size = EngineLength(blob);
    if (loadName == QLatin1String("DXF"))
        return ReadDxfStream(blob.constData(), size, depth, dither, target, user, progress);
    EngineFormat format = EngineFormat::Bmp;
    if (!ReaderFormat(loadName, &format))
        return false;
    const char* bytes = blob.constData();
    std::int32_t length = size;
    if (format == EngineFormat::Bmp) {
        const int offset = GraphicHeaderOffset(blob);
        bytes += offset;
        length -= offset;
    }
    if (format != EngineFormat::Tiff && format != EngineFormat::Pcd)
        option = 0;
    return ReadStreamToBitmap(format, bytes, length, depth, dither, option, target, user, progress);
}

bool RendersAtScale(const QString& loadName) {
    return loadName == QLatin1String("EPS") || loadName == QLatin1String("DXF");
}

bool DecodeScaledBlob(const QByteArray& blob, int depth, bool dither, double times, TBitmap& target,
                      void* user, ProgressCallback progress) {
    const std::int32_t size = EngineLength(blob);
    return ReadScaledStream(blob.constData(), size, depth, dither, times, target, user, progress);
}

ReadPlan PlanRead(const QString& loadName, const BlobInfo& info, int readDepth, int tiffPage,
                  int pcdMode) {
    ReadPlan plan;
    plan.monochrome = DecodesMonochrome(loadName, info.BlobBitsPerPixel);
    plan.depth = plan.monochrome ? 1 : readDepth;
    plan.tiffPage = tiffPage;
    if (loadName == QLatin1String("TIF")) {
        if (info.TiffPageCount > 0 && tiffPage >= info.TiffPageCount)
            plan.tiffPage = info.TiffPageCount - 1;
        plan.option = plan.tiffPage;
    } else if (loadName == QLatin1String("PCD")) {
        plan.option = pcdMode;
    }
    return plan;
}

} // namespace imaging
