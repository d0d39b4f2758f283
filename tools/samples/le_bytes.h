// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <cstdint>

namespace samples {

/// Little-endian values appended to a byte array, as the metafile formats store them.
class LeBytes {
public:
    void U8(unsigned v) { bytes_.append(char(v & 0xFF)); }
    void U16(unsigned v) {
        U8(v);
        U8(v >> 8);
    }
    void S16(int v) { U16(unsigned(std::uint16_t(std::int16_t(v)))); }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void S32(std::int32_t v) { U32(std::uint32_t(v)); }
    void Bytes(const QByteArray& b) { bytes_.append(b); }
    /// Overwrites a 32-bit value written before.
    void Patch32(qsizetype at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = char((v >> (8 * i)) & 0xFF);
    }
    qsizetype Size() const { return bytes_.size(); }
    const QByteArray& Data() const { return bytes_; }

private:
    QByteArray bytes_;
};

} // namespace samples
