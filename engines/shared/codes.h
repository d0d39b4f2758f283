// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Results of the imaging engine: above 0 success, else a failure code with a text.
namespace engine {

constexpr std::int16_t kOk = 1;
constexpr std::int16_t kErrNoMemory = -1;
constexpr std::int16_t kErrBadArgument = -2;
constexpr std::int16_t kErrNotThisFormat = -10;
constexpr std::int16_t kErrTruncated = -11;
constexpr std::int16_t kErrBadHeader = -12;
constexpr std::int16_t kErrUnsupported = -13;
constexpr std::int16_t kErrTooLarge = -14;
constexpr std::int16_t kErrBufferTooSmall = -15;
constexpr std::int16_t kErrCancelled = -16;
constexpr std::int16_t kErrCannotOpen = -17;
constexpr std::int16_t kErrCannotWrite = -18;
/// Something inside the engine failed unexpectedly (a caught exception).
constexpr std::int16_t kErrInternal = -19;
/// A JPEG whose samples have 12 bits; the JPEG library here decodes 8-bit samples only.
constexpr std::int16_t kErrTwelveBitJpeg = -20;
/// A page number past the last page of a TIFF file.
constexpr std::int16_t kErrNoSuchPage = -21;
/// SANE finds no scanner.
constexpr std::int16_t kErrNoScanner = -22;
/// The scanner could not be opened or stopped while scanning.
constexpr std::int16_t kErrScanner = -23;

/// The text of a result code ("" for success).
const char* CodeText(std::int16_t code);

/// The most pixels a reader will allocate for one picture: room for a 100-megapixel scan or
/// photograph, far below what a hostile header can claim.
constexpr std::uint64_t kMaxPixels = 128ull * 1024 * 1024;

} // namespace engine
