// SPDX-License-Identifier: MIT
#include "imaging/metafile/metafile_dib.h"

#include "engines/dib/dib_layout.h"
#include "imaging/metafile/metafile_player.h"

#include <cstdlib>

namespace imaging {

namespace {

// The header size of the forms a record may carry: the core header (12) or an info header.
bool HeaderFacts(const std::uint8_t* h, std::size_t available, std::int64_t* width,
                 std::int64_t* height, int* bits, std::uint32_t* compression, std::uint32_t* used,
                 std::uint32_t* headerSize) {
    if (available < 12)
        return false;
    *headerSize = dib::Get32(h);
    if (*headerSize == 12) {
        *width = dib::Get16(h + 4);
        *height = dib::Get16(h + 6);
        *bits = dib::Get16(h + 10);
        *compression = dib::kRgb;
        *used = 0;
        return true;
    }
    if (*headerSize < 40 || *headerSize > available)
        return false;
    *width = static_cast<std::int32_t>(dib::Get32(h + dib::kWidth));
    *height = static_cast<std::int32_t>(dib::Get32(h + dib::kHeight));
    *bits = dib::Get16(h + dib::kBitCount);
    *compression = dib::Get32(h + dib::kCompression);
    *used = dib::Get32(h + dib::kColoursUsed);
    return true;
}

} // namespace

QImage MetafileDibImage(const std::uint8_t* header, std::size_t headerBytes,
                        const std::uint8_t* bits, std::size_t bitsBytes, bool colourTable) {
    std::int64_t width = 0, height = 0;
    int depth = 0;
    std::uint32_t compression = 0, used = 0, headerSize = 0;
    if (!header || !bits ||
        !HeaderFacts(header, headerBytes, &width, &height, &depth, &compression, &used,
                     &headerSize))
        return {};
    const bool topDown = height < 0;
    height = std::llabs(height);
    if (width <= 0 || height <= 0 || width * height > MetafileLimits::DibPixels)
        return {};
    if (compression != dib::kRgb && !(compression == dib::kBitFields && depth >= 16))
        return {};
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return {};
    const std::uint64_t stride = dib::RowStride(std::uint64_t(width), unsigned(depth));
    if (stride * std::uint64_t(height) > bitsBytes)
        return {};

    // The colour table after the header (three bytes an entry for the core header).
    QList<QRgb> table;
    if (depth <= 8) {
        const int entries = dib::TableEntries(depth, used);
        const std::size_t entryBytes = headerSize == 12 ? 3 : 4;
        for (int i = 0; i < entries; ++i) {
            const std::size_t at = headerSize + std::size_t(i) * entryBytes;
            if (colourTable && at + 3 <= headerBytes) {
                table.append(qRgb(header[at + 2], header[at + 1], header[at]));
            } else {
                const int grey = entries > 1 ? i * 255 / (entries - 1) : 0;
                table.append(qRgb(grey, grey, grey));
            }
        }
    }

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint8_t* row = bits + stride * std::uint64_t(topDown ? y : height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (std::int64_t x = 0; x < width; ++x) {
            QRgb c = 0;
            switch (depth) {
            case 1:
            case 4:
            case 8: {
                const std::uint64_t bit = std::uint64_t(x) * unsigned(depth);
                const int shift = 8 - depth - int(bit % 8);
                const int index = (row[bit / 8] >> shift) & ((1 << depth) - 1);
                c = index < table.size() ? table[index] : qRgb(0, 0, 0);
                break;
            }
            case 16: { // 5-5-5
                const unsigned v = dib::Get16(row + 2 * x);
                c = qRgb(int((v >> 10) & 31) * 255 / 31, int((v >> 5) & 31) * 255 / 31,
                         int(v & 31) * 255 / 31);
                break;
            }
            case 24:
                c = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default:
                c = qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                break;
            }
            out[x] = c;
        }
    }
    return image;
}

QImage PackedDibImage(const std::uint8_t* data, std::size_t bytes) {
    if (!data || bytes < 12)
        return {};
    std::int64_t width = 0, height = 0;
    int depth = 0;
    std::uint32_t compression = 0, used = 0, headerSize = 0;
    if (!HeaderFacts(data, bytes, &width, &height, &depth, &compression, &used, &headerSize))
        return {};
    std::size_t tableBytes = 0;
    if (depth <= 8)
        tableBytes = std::size_t(dib::TableEntries(depth, used)) * (headerSize == 12 ? 3 : 4);
    else if (compression == dib::kBitFields && headerSize == 40)
        tableBytes = 12;
    const std::size_t offset = std::size_t(headerSize) + tableBytes;
    if (offset > bytes)
        return {};
    return MetafileDibImage(data, offset, data + offset, bytes - offset);
}

} // namespace imaging
