// SPDX-License-Identifier: MIT
#pragma once

#include "engines/dib/dib_layout.h"

#include <QColor>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace imaging {

/// The bytes of one metafile record, read with bounds checks: a read past the end gives 0
/// and marks the record damaged, which the players check after each record.
class RecordBytes {
public:
    RecordBytes(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size) {}

    std::size_t Size() const { return size_; }
    const std::uint8_t* Data() const { return data_; }
    bool Has(std::size_t at, std::size_t length) const {
        return at <= size_ && length <= size_ - at;
    }
    bool Damaged() const { return damaged_; }
    void MarkDamaged() const { damaged_ = true; }

    std::uint8_t U8(std::size_t at) const { return Has(at, 1) ? data_[at] : Bad(); }
    std::uint16_t U16(std::size_t at) const { return Has(at, 2) ? dib::Get16(data_ + at) : Bad(); }
    std::int16_t S16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U32(std::size_t at) const { return Has(at, 4) ? dib::Get32(data_ + at) : Bad(); }
    std::int32_t S32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    float F32(std::size_t at) const {
        const std::uint32_t bits = U32(at);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    /// A colour reference: red in the low byte, then green, then blue.
    QColor Colour(std::size_t at) const {
        const std::uint32_t c = U32(at);
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }

private:
    std::uint8_t Bad() const {
        damaged_ = true;
        return 0;
    }
    const std::uint8_t* data_;
    std::size_t size_;
    mutable bool damaged_ = false;
};

} // namespace imaging
