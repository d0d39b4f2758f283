// SPDX-License-Identifier: MIT
#include "imaging/dib/dib_convert.h"

#include "engines/dib/dib_layout.h"
#include "imaging/dib/dib.h"
#include "imaging/engine/effects_binding.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/error_invalid.h"

#include <cstring>
#include <map>
#include <mutex>

namespace imaging {

namespace {

// The depth a bitmap image holds its pixels in, as the classic device would report it.
int ImageBits(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
        return image.colorCount() <= 16 ? 4 : 8;
    case QImage::Format_RGB555:
    case QImage::Format_RGB16:
        return 16;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return 24;
    default:
        return 32;
    }
}

HPALETTE PaletteOfImage(const QImage& image) {
    if (image.colorCount() == 0)
        return {};
    auto palette = std::make_shared<TPalette>();
    for (QRgb c : image.colorTable())
        palette->Entries.push_back(
            {std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c)), 0});
    return palette;
}

// Replaces *dib by `next` when it is a block, freeing the old one.
void Replace(HGLOBAL* dib, HGLOBAL next) {
    if (!next)
        return;
    FreeDib(*dib);
    *dib = next;
}

QImage PictureImage(int w, int h, QImage::Format format);

// The image ("DIB section") of an uncompressed DIB.
QImage ImageOfDib(ILTDib& lens) {
    const int w = lens.DibWidth(), h = std::abs(lens.DibHeight());
    const int bits = lens.BitCount();
    if (w <= 0 || h <= 0)
        return {};
    const std::uint8_t* pixels = lens.Bits();
    const auto stride = static_cast<std::size_t>(dib::RowStride(std::uint64_t(w), unsigned(bits)));
    if (lens.HeaderSize() + stride * h > GlobalSize(lens.Handle()))
        return {};
    const bool topDown = lens.DibHeight() < 0;
    auto row = [&](int y) { return pixels + stride * std::size_t(topDown ? y : h - 1 - y); };
    QImage::Format format;
    switch (bits) {
    case 1:
        format = QImage::Format_Mono;
        break;
    case 4:
    case 8:
        format = QImage::Format_Indexed8;
        break;
    case 16:
        format = QImage::Format_RGB555;
        break;
    case 24:
        format = QImage::Format_BGR888;
        break;
    case 32:
        format = QImage::Format_RGB32;
        break;
    default:
        return {};
    }
    QImage image = PictureImage(w, h, format);
    if (image.isNull())
        return {};
    if (bits <= 8) {
        QVector<QRgb> table;
        const std::uint8_t* c = lens.Dib() + 40;
        for (std::uint32_t i = 0; i < lens.ColorCount(); ++i, c += 4)
            table.push_back(qRgb(c[2], c[1], c[0]));
        while (table.size() < (1 << std::min(bits, 8)) && bits == 1)
            table.push_back(qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    const std::size_t copy = std::min<std::size_t>(stride, std::size_t(image.bytesPerLine()));
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = image.scanLine(y);
        const std::uint8_t* in = row(y);
        if (bits == 4) {
            for (int x = 0; x < w; ++x)
                out[x] = (x & 1) ? in[x >> 1] & 0xF : in[x >> 1] >> 4;
        } else {
            std::memcpy(out, in, copy);
        }
    }
    image.setDotsPerMeterX(2953);
    image.setDotsPerMeterY(2953);
    return image;
}

// An image whose pixels live in large-picture memory (see LargeMemoryAlloc).
QImage PictureImage(int w, int h, QImage::Format format) {
    const int depth = format == QImage::Format_Mono       ? 1
                      : format == QImage::Format_Indexed8 ? 8
                      : format == QImage::Format_RGB555   ? 16
                      : format == QImage::Format_BGR888   ? 24
                                                          : 32;
    const auto stride = static_cast<qsizetype>(dib::RowStride(std::uint64_t(w), unsigned(depth)));
    const std::size_t bytes = std::size_t(stride) * std::size_t(h);
    auto* memory = static_cast<uchar*>(LargeMemoryAlloc(bytes));
    if (!memory)
        return {};
    struct Block {
        void* memory;
        std::size_t bytes;
    };
    auto* block = new Block{memory, bytes};
    return QImage(
        memory, w, h, stride, format,
        [](void* info) {
            auto* b = static_cast<Block*>(info);
            LargeMemoryFree(b->memory, b->bytes);
            delete b;
        },
        block);
}

HPALETTE CopyPalette(const HPALETTE& palette) {
    return palette ? std::make_shared<TPalette>(*palette) : HPALETTE{};
}

} // namespace

namespace {

void MakeDib(const QImage& bitmap, const HPALETTE& palette, bool topDown, HGLOBAL* dib) {
    if (bitmap.isNull())
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    // 32-bit pixels go straight into the 24-bit rows the engine's DIB32To24 would make of
    // them: no 32-bit block and no second pass over the picture.
    const bool direct =
        bitmap.format() == QImage::Format_RGB32 || bitmap.format() == QImage::Format_ARGB32;
    const int bits = direct ? 24 : ImageBits(bitmap);
    const HPALETTE table = palette ? palette : PaletteOfImage(bitmap);
    ILTDib lens;
    lens.SetOwnsDib(false);
    if (!lens.CreateNew(table, bitmap.width(), bitmap.height(), bits))
        return;
    // The pixels in the bitmap's own depth, rows bottom-up.
    QImage source = bitmap;
    if (direct) {
        // read as it is
    } else if (bits == 1 && source.format() != QImage::Format_Mono)
        source = source.convertToFormat(QImage::Format_Mono);
    else if (bits == 16 && source.format() != QImage::Format_RGB555)
        source = source.convertToFormat(QImage::Format_RGB555);
    else if (bits == 24 && source.format() != QImage::Format_BGR888)
        source = source.convertToFormat(QImage::Format_BGR888);
    else if (bits == 32 && source.format() != QImage::Format_RGB32)
        source = source.convertToFormat(QImage::Format_RGB32);
    const int w = source.width(), h = source.height();
    const auto stride = static_cast<std::size_t>(dib::RowStride(std::uint64_t(w), unsigned(bits)));
    std::uint8_t* pixels = lens.Bits();
    topDown = topDown && bits != 16 && bits != 32;
    if (topDown) {
        const std::int32_t height = -h; // the header's height field
        std::memcpy(lens.Dib() + 8, &height, 4);
    }
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = pixels + stride * std::size_t(topDown ? y : h - 1 - y);
        const std::uint8_t* in = source.constScanLine(y);
        if (direct) {
            const auto* px = reinterpret_cast<const QRgb*>(in);
            int x = 0;
            // Four pixels (0xAARRGGBB each) make three words of blue, green, red bytes.
            for (; x + 4 <= w; x += 4, out += 12) {
                const std::uint32_t p0 = px[x], p1 = px[x + 1], p2 = px[x + 2], p3 = px[x + 3];
                const std::uint32_t words[3] = {(p0 & 0xFFFFFFu) | p1 << 24,
                                                (p1 >> 8 & 0xFFFFu) | p2 << 16,
                                                (p2 >> 16 & 0xFFu) | p3 << 8};
                std::memcpy(out, words, 12);
            }
            for (; x < w; ++x, out += 3) {
                out[0] = static_cast<std::uint8_t>(qBlue(px[x]));
                out[1] = static_cast<std::uint8_t>(qGreen(px[x]));
                out[2] = static_cast<std::uint8_t>(qRed(px[x]));
            }
        } else if (bits == 4) {
            for (int x = 0; x < w; ++x)
                out[x >> 1] |=
                    static_cast<std::uint8_t>((x & 1) ? in[x] & 0xF : (in[x] & 0xF) << 4);
        } else {
            std::memcpy(out, in, std::min<std::size_t>(stride, std::size_t(source.bytesPerLine())));
        }
    }
    HGLOBAL block = lens.Handle();
    lens.SetDib(nullptr);
    UnlockDib(block);
    if (bits == 16 || bits == 32) {
        HGLOBAL promoted = ConvertDib(bits == 16 ? "DIB16To24" : "DIB32To24", block);
        if (promoted) {
            FreeDib(block);
            block = promoted;
        }
    }
    *dib = block;
}

} // namespace

void BitmapHandleToDib(const QImage& bitmap, const HPALETTE& palette, HGLOBAL* dib) {
    MakeDib(bitmap, palette, false, dib);
}

void BitmapToDib(const TBitmap* bitmap, HGLOBAL* dib) {
    if (!bitmap)
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    MakeDib(bitmap->Handle(), bitmap->Palette(), false, dib);
}

void BitmapToTopDownDib(const TBitmap* bitmap, HGLOBAL* dib) {
    if (!bitmap)
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    MakeDib(bitmap->Handle(), bitmap->Palette(), true, dib);
}

void BitmapToDibDepth(const TBitmap& bitmap, ProgressCallback cb, void* user, HGLOBAL* dib,
                      bool dither, int depth) {
    BitmapToDib(&bitmap, dib);
    if (!*dib || GlobalSize(*dib) <= 5)
        return;
    const int bits = DibBitCount(*dib);
    if (depth < bits)
        Replace(dib, ReduceDibColours(*dib, depth, dither, user, cb));
    else if (depth > bits)
        Replace(dib, PromoteDib(*dib, depth));
}

HGLOBAL PromoteDib(HGLOBAL dib, int depth) {
    if (!dib)
        return nullptr;
    const int bits = DibBitCount(dib);
    if (bits == 24 || depth < bits || (bits == depth && (bits == 1 || bits == 4 || bits == 8)))
        return nullptr;
    EngineBinding::Instance().SetProgressText(QStringLiteral("Increasing colors "));
    const char* converter = nullptr;
    switch (bits) {
    case 1:
        converter = depth == 4    ? "DIB1to4"
                    : depth == 8  ? "DIB1To8"
                    : depth == 24 ? "DIB1To24"
                                  : nullptr;
        break;
    case 4:
        converter = depth == 8 ? "DIB4To8" : depth == 24 ? "DIB4To24" : nullptr;
        break;
    case 8:
        converter = "DIB8To24";
        break;
    case 16:
        converter = depth >= 16 ? "DIB16To24" : nullptr;
        break;
    default:
        break;
    }
    return converter ? ConvertDib(converter, dib) : nullptr;
}

int DibToBitmapHandles(HGLOBAL dib, int depth, bool dither, ProgressCallback cb, void* user,
                       QImage* bitmap, HPALETTE* palette) {
    if (!dib || GlobalSize(dib) == 0)
        return 0;
    ILTDib lens;
    lens.SetOwnsDib(false);
    lens.SetDib(GlobalLock(dib));
    HGLOBAL working = nullptr; // a converted copy, ours to free
    int result = 0;
    if (lens.Compression() == 1 || lens.Compression() == 2) {
        HGLOBAL flat = nullptr, table = nullptr;
        if (DibToDdb(lens.Dib(), &flat, &table)) {
            ILTDib flatLens;
            flatLens.SetOwnsDib(false);
            flatLens.SetDib(GlobalLock(flat));
            *bitmap = ImageOfDib(flatLens);
            *palette = CopyPalette(flatLens.GetPalette());
            flatLens.SetDib(nullptr);
            result = bitmap->isNull() ? 0 : 1;
        }
        FreeDib(flat);
        FreeDib(table);
        lens.SetDib(nullptr);
        UnlockDib(dib);
        return result;
    }
    const int bits = lens.BitCount();
    lens.SetDib(nullptr);
    UnlockDib(dib);
    if (bits > depth)
        working = ReduceDibColours(dib, depth, dither, user, cb);
    else if (bits < depth)
        working = PromoteDib(dib, depth);
    HGLOBAL shown = working ? working : dib;
    ILTDib view;
    view.SetOwnsDib(false);
    view.SetDib(GlobalLock(shown));
    view.DibSize();
    const QImage image = ImageOfDib(view);
    if (!image.isNull()) {
        *bitmap = image;
        *palette = CopyPalette(view.GetPalette());
        result = 1;
    }
    view.SetDib(nullptr);
    UnlockDib(shown);
    FreeDib(working);
    return result;
}

int DibToBitmap(HGLOBAL dib, int depth, bool dither, TBitmap& bitmap, void* user,
                ProgressCallback cb) {
    if (!dib || GlobalSize(dib) == 0)
        return 0;
    QImage image;
    HPALETTE palette;
    const int result = DibToBitmapHandles(dib, depth, dither, cb, user, &image, &palette);
    if (result) {
        bitmap.SetPalette(palette);
        bitmap.SetHandle(image);
    }
    return result;
}

namespace {

// The DIBs whose rows adopted bitmaps show, with the address of their first row.
struct Adopted {
    std::mutex lock;
    std::map<HGLOBAL, const uchar*> rows;
};
Adopted& AdoptedDibs() {
    // Never destroyed: bitmaps in other statics (the undo ring) are freed after it at exit.
    static Adopted* adopted = new Adopted;
    return *adopted;
}
void Remember(HGLOBAL dib, const uchar* rows) {
    std::lock_guard<std::mutex> hold(AdoptedDibs().lock);
    AdoptedDibs().rows[dib] = rows;
}
void Forget(HGLOBAL dib) {
    std::lock_guard<std::mutex> hold(AdoptedDibs().lock);
    AdoptedDibs().rows.erase(dib);
}

} // namespace

HGLOBAL AdoptedDibOf(const TBitmap& bitmap) {
    const QImage& image = bitmap.Handle();
    if (image.isNull() || image.format() != QImage::Format_BGR888)
        return nullptr;
    const uchar* rows = image.constBits();
    std::lock_guard<std::mutex> hold(AdoptedDibs().lock);
    for (const auto& [dib, first] : AdoptedDibs().rows)
        if (first == rows)
            return dib;
    return nullptr;
}

int AdoptDibAsBitmap(HGLOBAL dib, int depth, bool dither, TBitmap& bitmap, void* user,
                     ProgressCallback cb) {
    if (!dib || GlobalSize(dib) < 40)
        return 0;
    ILTDib lens;
    lens.SetOwnsDib(false);
    lens.SetDib(GlobalLock(dib)); // this lock stays while the image shows the pixels
    const int w = lens.DibWidth(), h = -lens.DibHeight();
    const auto stride = static_cast<std::size_t>(dib::RowStride(std::uint64_t(std::max(w, 0)), 24));
    const bool inPlace = lens.BitCount() == 24 && depth == 24 && lens.Compression() == 0 && w > 0 &&
                         h > 0 && lens.HeaderSize() + stride * std::size_t(h) <= GlobalSize(dib);
    if (!inPlace) {
        lens.SetDib(nullptr);
        GlobalUnlock(dib);
        const int result = DibToBitmap(dib, depth, dither, bitmap, user, cb);
        FreeDib(dib);
        return result;
    }
    QImage image(
        lens.Bits(), w, h, qsizetype(stride), QImage::Format_BGR888,
        [](void* block) {
            Forget(static_cast<HGLOBAL>(block));
            FreeDib(static_cast<HGLOBAL>(block));
        },
        dib);
    Remember(dib, image.constBits());
    lens.SetDib(nullptr);
    image.setDotsPerMeterX(2953);
    image.setDotsPerMeterY(2953);
    bitmap.SetPalette({});
    bitmap.SetHandle(image);
    return 1;
}

int DibHandleToBitmap(HGLOBAL dib, TBitmap& bitmap) {
    if (!dib || GlobalSize(dib) < 6)
        return 0;
    const int bits = DibBitCount(dib);
    return DibToBitmap(dib, bits, false, bitmap, nullptr, nullptr);
}

bool ILTDib::FromBitmap(const TBitmap& bitmap, int depth) {
    if (!bitmap.HandleAllocated())
        return false;
    SetDib(nullptr);
    int d = depth;
    if (d == 2)
        d = 1;
    else if (d == 16)
        d = 24;
    else if (d != 1 && d != 4 && d != 8 && d != 24)
        d = 4;
    HGLOBAL dib = nullptr;
    BitmapToDibDepth(bitmap, nullptr, this, &dib, false, d);
    if (!dib)
        return false;
    SetOwnsDib(true);
    SetDib(GlobalLock(dib));
    FPalette.reset();
    GetPalette();
    return true;
}

} // namespace imaging
