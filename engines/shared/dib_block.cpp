// SPDX-License-Identifier: MIT
#include "engines/shared/dib_block.h"

#include "engines/dib/dib_layout.h"
#include "engines/shared/codes.h"

#include <cstring>

namespace engine {

using dib::Get32;

NewDib::~NewDib() {
    if (handle_) {
        GlobalUnlock(handle_);
        GlobalFree(handle_);
    }
}

std::int16_t NewDib::Create(std::int64_t width, std::int64_t height, int bits, int colours,
                            bool topDown) {
    if (width <= 0 || height <= 0)
        return kErrBadHeader;
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels)
        return kErrTooLarge;
    if ((bits != 1 && bits != 4 && bits != 8 && bits != 24) || colours < 0 ||
        (bits <= 8 && colours > (1 << bits)) || (bits == 24 && colours))
        return kErrBadArgument;
    const std::uint64_t stride = dib::RowStride(static_cast<std::uint64_t>(width), unsigned(bits));
    const std::uint64_t image = stride * static_cast<std::uint64_t>(height);
    handle_ = GlobalAlloc(GHND, static_cast<std::size_t>(dib::kHeaderBytes + 4 * colours + image));
    if (!handle_)
        return kErrNoMemory;
    auto* d = static_cast<std::uint8_t*>(GlobalLock(handle_));
    dib::WriteHeader(d, static_cast<std::int32_t>(width),
                     static_cast<std::int32_t>(topDown ? -height : height), bits,
                     static_cast<std::uint32_t>(colours), static_cast<std::uint32_t>(image));
    table_ = d + dib::kHeaderBytes;
    bits_ = table_ + 4 * colours;
    stride_ = static_cast<std::size_t>(stride);
    width_ = width;
    height_ = height;
    bitCount_ = bits;
    topDown_ = topDown;
    return kOk;
}

void NewDib::SetColour(int i, std::uint8_t r, std::uint8_t g, std::uint8_t b) const {
    std::uint8_t* e = Colour(i);
    e[0] = b;
    e[1] = g;
    e[2] = r;
}

HGLOBAL NewDib::Release() {
    HGLOBAL out = handle_;
    if (out)
        GlobalUnlock(out);
    handle_ = nullptr;
    return out;
}

DibView::DibView(const void* lockedDib) {
    HGLOBAL block = GlobalHandle(lockedDib);
    if (!block)
        return;
    base_ = static_cast<const std::uint8_t*>(lockedDib);
    size_ = GlobalSize(block);
    Parse();
}

DibView::DibView(HGLOBAL dib) {
    if (!dib || !(base_ = static_cast<const std::uint8_t*>(GlobalLock(dib))))
        return;
    locked_ = dib;
    size_ = GlobalSize(dib);
    Parse();
}

DibView::~DibView() {
    if (locked_)
        GlobalUnlock(locked_);
}

void DibView::Parse() {
    if (size_ < 40)
        return;
    headerSize_ = Get32(base_);
    if (headerSize_ < 40 || headerSize_ > size_)
        return;
    const auto w = static_cast<std::int32_t>(Get32(base_ + 4));
    const auto h = static_cast<std::int32_t>(Get32(base_ + 8));
    bits_ = base_[14] | base_[15] << 8;
    compression_ = Get32(base_ + 16);
    if (w <= 0 || h == 0 || h == INT32_MIN)
        return;
    if (bits_ != 1 && bits_ != 4 && bits_ != 8 && bits_ != 16 && bits_ != 24 && bits_ != 32)
        return;
    width_ = w;
    topDown_ = h < 0;
    height_ = topDown_ ? -std::int64_t(h) : h;
    if (static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_) > kMaxPixels)
        return;
    // A table kept beside true-colour rows is skipped.
    colours_ = dib::TableEntries(bits_, Get32(base_ + dib::kColoursUsed));
    stride_ = static_cast<std::size_t>(dib::RowStride(std::uint64_t(width_), unsigned(bits_)));
    pixels_ = headerSize_ + 4 * std::size_t(colours_) + (compression_ == 3 ? 12 : 0);
    rgb565_ = compression_ == 3 && bits_ == 16 && headerSize_ + 12 <= size_ &&
              Get32(base_ + headerSize_) == 0xF800;
    if (compression_ == 1 || compression_ == 2) {
        valid_ = pixels_ <= size_; // run-length rows are decoded by their own reader
        return;
    }
    if (compression_ != 0 && compression_ != 3)
        return;
    valid_ = pixels_ + stride_ * static_cast<std::size_t>(height_) <= size_;
}

const std::uint8_t* DibView::Row(std::int64_t fromTop) const {
    const std::int64_t stored = topDown_ ? fromTop : height_ - 1 - fromTop;
    return base_ + pixels_ + stride_ * static_cast<std::size_t>(stored);
}

void DibView::RowBgr(std::int64_t fromTop, std::uint8_t* out) const {
    const std::uint8_t* in = Row(fromTop);
    const auto w = static_cast<std::size_t>(width_);
    if (bits_ <= 8) {
        if (w == 0)
            return;
        // Palette rows: each index looks up four bytes (blue, green, red, 0) that are stored
        // whole, the fourth overwritten by the next pixel; the last pixel stores three. Indices
        // past the table are black.
        std::uint8_t lut[256][4] = {};
        for (int i = 0; i < colours_ && i < 256; ++i)
            std::memcpy(lut[i], Colour(i), 3);
        auto index = [&](std::size_t x) -> unsigned {
            if (bits_ == 8)
                return in[x];
            if (bits_ == 4)
                return (x & 1) ? in[x >> 1] & 0xFu : in[x >> 1] >> 4;
            return (in[x >> 3] >> (7 - (x & 7))) & 1u;
        };
        std::size_t x = 0;
        if (bits_ == 8)
            for (; x + 1 < w; ++x)
                std::memcpy(out + 3 * x, lut[in[x]], 4);
        else
            for (; x + 1 < w; ++x)
                std::memcpy(out + 3 * x, lut[index(x)], 4);
        std::memcpy(out + 3 * x, lut[index(x)], 3);
        return;
    }
    switch (bits_) {
    case 16:
        for (std::size_t x = 0; x < w; ++x, out += 3) {
            const unsigned v = in[2 * x] | in[2 * x + 1] << 8;
            const unsigned r = rgb565_ ? v >> 11 : (v >> 10) & 31, b = v & 31;
            const unsigned g = rgb565_ ? (v >> 5) & 63 : (v >> 5) & 31;
            out[0] = static_cast<std::uint8_t>(b << 3 | b >> 2);
            out[1] = static_cast<std::uint8_t>(rgb565_ ? g << 2 | g >> 4 : g << 3 | g >> 2);
            out[2] = static_cast<std::uint8_t>(r << 3 | r >> 2);
        }
        break;
    case 24:
        std::memcpy(out, in, 3 * w);
        break;
    default:
        for (std::size_t x = 0; x < w; ++x, out += 3)
            std::memcpy(out, in + 4 * x, 3);
        break;
    }
}

bool DibView::GreyTable() const {
    for (int i = 0; i < colours_; ++i) {
        const std::uint8_t* c = Colour(i);
        if (c[0] != c[1] || c[1] != c[2])
            return false;
    }
    return true;
}

} // namespace engine
