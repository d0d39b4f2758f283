// SPDX-License-Identifier: MIT
#include "imaging/metafile/metafile_header.h"

#include "engines/dib/dib_layout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace imaging {

namespace {

// The header bytes every test reads, zero past the blob's end.
struct Head {
    std::array<std::uint8_t, 48> bytes{};
    explicit Head(const QByteArray& b) {
        std::memcpy(bytes.data(), b.constData(),
                    std::min<std::size_t>(bytes.size(), std::size_t(b.size())));
    }
    std::uint32_t U32(std::size_t at) const { return dib::Get32(bytes.data() + at); }
    std::uint16_t U16(std::size_t at) const { return dib::Get16(bytes.data() + at); }
    std::int32_t S32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::int16_t S16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
};

constexpr std::uint32_t kEmfSignature = 0x464D4520u; // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;

} // namespace

MetafileKind DetectMetafile(const QByteArray& bytes) {
    const Head h(bytes);
    if (bytes.size() > 100 && h.U32(0) == 1 && h.U32(40) == kEmfSignature)
        return MetafileKind::Enhanced;
    if (bytes.size() >= 22 && h.U32(0) == kPlaceableKey) {
        std::uint16_t sum = 0;
        for (std::size_t at = 0; at < 20; at += 2)
            sum ^= h.U16(at);
        if (sum == h.U16(20))
            return MetafileKind::Placeable;
    }
    return MetafileKind::None;
}

QSize MetafileSize(const QByteArray& bytes, int pixelsPerInch) {
    const Head head(bytes);
    switch (DetectMetafile(bytes)) {
    case MetafileKind::Placeable: {
        // The box (left, top, right, bottom) at 6 and the units per inch at 14.
        const int inch = head.U16(14);
        if (inch == 0)
            return {};
        const std::int64_t w = std::int64_t(head.S16(10)) - head.S16(6);
        const std::int64_t h = std::int64_t(head.S16(12)) - head.S16(8);
        auto pixels = [&](std::int64_t units) {
            return int(std::min<std::int64_t>(std::abs(units) * pixelsPerInch / inch, 1 << 20));
        };
        return QSize(pixels(w), pixels(h));
    }
    case MetafileKind::Enhanced: {
        // The frame (left, top, right, bottom) at 24, in hundredths of a millimetre, inclusive.
        const std::int64_t w = std::int64_t(head.S32(32)) - head.S32(24);
        const std::int64_t h = std::int64_t(head.S32(36)) - head.S32(28);
        auto pixels = [&](std::int64_t hundredths) {
            return int(
                std::min<std::int64_t>(std::abs(hundredths) * pixelsPerInch / 2540, 1 << 20));
        };
        return QSize(pixels(w), pixels(h));
    }
    case MetafileKind::None:
        break;
    }
    return {};
}

} // namespace imaging
