// SPDX-License-Identifier: MIT
// Hostile picture bytes for one format of the imaging engine's format table, or for one of its
// information functions, chosen when the target is built (VLMOR_FUZZ_TARGET): each fails with
// a code or succeeds, never crashes or leaks. Decoded pictures also go through the depth
// changes; the reader's option (TIFF page, Photo CD mode) follows the input's length.
#include "engines/crde2000/dxf.h"
#include "engines/crde2000/formats.h"
#include "engines/crde2000/info.h"
#include "engines/crde2000/tiff.h"
#include "engines/shared/codes.h"
#include "engines/shared/depth.h"

#include <cstring>

namespace {

const char* const kTarget = VLMOR_FUZZ_TARGET;

std::int16_t Read(const std::uint8_t* d, std::size_t n, HGLOBAL* dib) {
    if (const crde::Format* format = crde::FormatForFuzzTarget(kTarget)) {
        if (format->fuzzDecodes)
            return format->read(d, n, static_cast<int>(n % 3), dib);
        crde::StreamFacts facts; // decoding is another library's; ours is the header
        return format->facts(crde::Reader(d, n), &facts);
    }
    if (std::strcmp(kTarget, "streaminfo") == 0) {
        crde::StreamFacts facts;
        return crde::StreamInfo(d, n, &facts);
    }
    if (std::strcmp(kTarget, "tiffinfo") == 0) {
        crde::TiffInfo info;
        return crde::TiffPageInfo(d, n, static_cast<int>(n % 2), &info);
    }
    crde::DxfInfo info;
    return crde::DxfSize(d, n, &info);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    HGLOBAL dib = nullptr;
    if (Read(bytes, size, &dib) == crde::kOk && dib) {
        crde::DibView view(dib);
        if (view.Valid() && view.Width() * view.Height() <= 65536)
            for (int bits : {1, 8, 24}) {
                HGLOBAL converted = nullptr;
                if (crde::ConvertDepth(view, bits, true, &converted) == crde::kOk)
                    GlobalFree(converted);
            }
    }
    GlobalFree(dib);
    return 0;
}
