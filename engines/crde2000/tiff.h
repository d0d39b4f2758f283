// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

#include <string>

namespace crde {

bool IsTiff(const std::uint8_t* data, std::size_t size);

/// What one page of a TIFF holds.
struct TiffInfo {
    std::int64_t width = 0, height = 0;
    int bits = 0;        // bits per pixel (samples × bits per sample)
    int compression = 0; // the TIFF compression tag
    int pages = 0;
};
std::int16_t TiffPageInfo(const std::uint8_t* data, std::size_t size, int page, TiffInfo* info);

/// Decodes page `page` (from 0): bilevel, grey and palette pages keep 1, 4 or 8 bits, every
/// other kind (RGB, tiles, YCbCr, CMYK, 16-bit) becomes 24 bits.
std::int16_t ReadTiff(const std::uint8_t* data, std::size_t size, int page, HGLOBAL* dib);

/// Compression codes the writer takes: 1 none, 2 CCITT RLE, 3 fax group 3, 4 fax group 4,
/// 5 LZW, 32773 PackBits. The fax codes need a 1-bit DIB.
bool TiffCompressionWritable(int code);
/// Appends one page to `file` (an existing TIFF's bytes, or empty for a new file).
std::int16_t WriteTiff(const DibView& dib, int compression, Bytes& file);
/// How many bytes from the start of `data` a classic TIFF occupies (its header, directories,
/// the values they point to and the strips or tiles): what follows it in a larger buffer is not
/// part of it. 0 when the bytes hold no whole TIFF of that kind.
std::size_t TiffExtent(const std::uint8_t* data, std::size_t size);

/// The tags of a page as "number=value" lines.
std::int16_t TiffTags(const std::uint8_t* data, std::size_t size, int page, std::string* out);
/// The file without page `page`; every other page's pixels and kind kept.
/// A text tag's value as it stands in a tag line: line breaks and backslashes escaped as \n,
/// \r and \\, so a value cannot start a line of its own.
std::string EscapedTagText(const char* value);
/// Every page rewritten in order, unused space dropped.
std::int16_t TiffPack(const std::uint8_t* data, std::size_t size, Bytes& out);
/// Without the page; kErrNoSuchPage for a page the file does not have.
std::int16_t TiffDeletePage(const std::uint8_t* data, std::size_t size, int page, Bytes& out);
/// The file with page `page` replaced by the DIB written with `compression`.
std::int16_t TiffReplacePage(const std::uint8_t* data, std::size_t size, int page,
                             const DibView& dib, int compression, Bytes& out);

/// The facts stream information reports, from the header only.
std::int16_t TiffFacts(const Reader& in, StreamFacts* facts);

/// A TIFF compression code's name for stream information.
std::string TiffCompressionText(int code);

} // namespace crde
