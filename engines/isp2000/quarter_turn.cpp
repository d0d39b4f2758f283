// SPDX-License-Identifier: MIT
#include "engines/isp2000/quarter_turn.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ISP_QUARTER_SIMD 1
#endif

namespace isp {

namespace {

// Where source pixel (x, y) goes: a quarter turn anticlockwise takes it to row width-1-x,
// column y; clockwise to row x, column height-1-y.
struct Turn {
    const std::uint8_t* const* rows;
    std::int64_t width, height;
    bool clockwise;
    std::uint8_t* to;
    std::int64_t toStride;

    std::uint8_t* Target(std::int64_t x, std::int64_t y) const {
        return clockwise ? to + x * toStride + 3 * (height - 1 - y)
                         : to + (width - 1 - x) * toStride + 3 * y;
    }
};

// Pixel by pixel: the picture's edges the blocks below leave, and every picture where
// the processor lacks the byte shuffles.
void TurnPixels(const Turn& t, std::int64_t x0, std::int64_t x1, std::int64_t y0, std::int64_t y1) {
    for (std::int64_t y = y0; y < y1; ++y) {
        const std::uint8_t* p = t.rows[y] + 3 * x0;
        for (std::int64_t x = x0; x < x1; ++x, p += 3)
            std::memcpy(t.Target(x, y), p, 3);
    }
}

#ifdef ISP_QUARTER_SIMD

// A row's four pixels (twelve bytes) in four 32-bit lanes.
__attribute__((target("ssse3"))) inline __m128i Spread(const std::uint8_t* p) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), spread);
}

// Four pixels of four rows turned in registers: each row's twelve bytes spread to four
// 32-bit lanes, the 4 x 4 lanes transposed and each column packed back to twelve bytes
// (the last four zero).
__attribute__((target("ssse3"))) inline void
Transpose(const std::uint8_t* r0, const std::uint8_t* r1, const std::uint8_t* r2,
          const std::uint8_t* r3, __m128i& c0, __m128i& c1, __m128i& c2, __m128i& c3) {
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m128i a = Spread(r0), b = Spread(r1), c = Spread(r2), d = Spread(r3);
    const __m128i ab0 = _mm_unpacklo_epi32(a, b), cd0 = _mm_unpacklo_epi32(c, d);
    const __m128i ab1 = _mm_unpackhi_epi32(a, b), cd1 = _mm_unpackhi_epi32(c, d);
    c0 = _mm_shuffle_epi8(_mm_unpacklo_epi64(ab0, cd0), pack);
    c1 = _mm_shuffle_epi8(_mm_unpackhi_epi64(ab0, cd0), pack);
    c2 = _mm_shuffle_epi8(_mm_unpacklo_epi64(ab1, cd1), pack);
    c3 = _mm_shuffle_epi8(_mm_unpackhi_epi64(ab1, cd1), pack);
}

// Eight pixels (two packed quarters of twelve bytes) stored as sixteen bytes and eight:
// exactly the pixels, nothing past them.
__attribute__((target("ssse3"))) inline void Put(__m128i first, __m128i second, std::uint8_t* to) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to),
                     _mm_or_si128(first, _mm_slli_si128(second, 12)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(to + 16), _mm_srli_si128(second, 4));
}

// Four pixels of eight rows (r[0] to r[7], each from byte `at`) turned: destination row j
// (at d0 + j * step) gets source column j, its pixels from the rows in order, or in
// reverse order for a clockwise turn.
template <bool kReversed>
__attribute__((target("ssse3"))) inline void
TurnBlock(const std::uint8_t* const* r, std::int64_t at, std::uint8_t* d0, std::int64_t step) {
    auto row = [&](int i) { return r[kReversed ? 7 - i : i] + at; };
    __m128i a0, a1, a2, a3, b0, b1, b2, b3;
    Transpose(row(0), row(1), row(2), row(3), a0, a1, a2, a3);
    Transpose(row(4), row(5), row(6), row(7), b0, b1, b2, b3);
    Put(a0, b0, d0);
    Put(a1, b1, d0 + step);
    Put(a2, b2, d0 + 2 * step);
    Put(a3, b3, d0 + 3 * step);
}

// Blocks of 4 x 8 pixels in tiles of 128 x 128, so the source lines a tile reads stay in
// the cache while its destination rows are written. A 16-byte load reads five pixels and
// a third: blocks stop two pixels short of the row's end so no load passes it.
__attribute__((target("ssse3"))) std::int64_t TurnBlocks(const Turn& t, std::int64_t& rowsDone) {
    const std::int64_t columns = t.width >= 6 ? (t.width - 2) / 4 * 4 : 0;
    rowsDone = t.height / 8 * 8;
    constexpr std::int64_t kTile = 128;
    const std::int64_t dstep = t.clockwise ? t.toStride : -t.toStride;
    for (std::int64_t ty = 0; ty < rowsDone; ty += kTile)
        for (std::int64_t tx = 0; tx < columns; tx += kTile) {
            const std::int64_t yEnd = std::min(rowsDone, ty + kTile);
            const std::int64_t xEnd = std::min(columns, tx + kTile);
            // The next block down the source lies 8 pixels along its destination rows.
            for (std::int64_t x = tx; x < xEnd; x += 4) {
                const std::int64_t at = 3 * x;
                const std::uint8_t* const* end = t.rows + yEnd;
                // The next tile's source lines are asked for ahead, a line at a time as the
                // columns cross into it: the tile reads 128 rows at once, too many streams
                // for the processor's own prefetcher. (An address, never dereferenced, so
                // one past a row's end is harmless.)
                if (at % 64 < 12)
                    for (const std::uint8_t* const* r = t.rows + ty; r < end; ++r)
                        _mm_prefetch(reinterpret_cast<const char*>(
                                         reinterpret_cast<std::uintptr_t>(*r) + at + 3 * kTile),
                                     _MM_HINT_T0);
                if (t.clockwise) {
                    std::uint8_t* d = t.Target(x, ty + 7);
                    for (const std::uint8_t* const* r = t.rows + ty; r < end; r += 8, d -= 24)
                        TurnBlock<true>(r, at, d, dstep);
                } else {
                    std::uint8_t* d = t.Target(x, ty);
                    for (const std::uint8_t* const* r = t.rows + ty; r < end; r += 8, d += 24)
                        TurnBlock<false>(r, at, d, dstep);
                }
            }
        }
    return columns;
}

#endif
} // namespace

void QuarterTurn24(const std::uint8_t* const* rows, std::int64_t width, std::int64_t height,
                   int quarters, std::uint8_t* to, std::int64_t toStride) {
    const Turn t{rows, width, height, quarters == 3, to, toStride};
    std::int64_t columns = 0, blockRows = 0;
#ifdef ISP_QUARTER_SIMD
    if (__builtin_cpu_supports("ssse3"))
        columns = TurnBlocks(t, blockRows);
#endif
    TurnPixels(t, columns, width, 0, blockRows);
    TurnPixels(t, 0, width, blockRows, height);
}

} // namespace isp
