// SPDX-License-Identifier: MIT
// Hostile picture bytes for one format of the imaging engine's format table, or for one of its
// information functions, chosen when the target is built (VLMOR_FUZZ_TARGET): each fails with
// a code or succeeds, never crashes or leaks. Decoded pictures also go through the depth
// changes; the reader's option (TIFF page 0 to 2, every Photo CD resolution) and the dither
// follow the input's length (a DXF drawing is then also drawn larger). A failure must leave
// no DIB and no live memory block.
#include "engines/crde2000/dxf.h"
#include "engines/crde2000/formats.h"
#include "engines/crde2000/info.h"
#include "engines/crde2000/tiff.h"
#include "engines/shared/codes.h"
#include "engines/shared/depth.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kTarget = VLMOR_FUZZ_TARGET;

std::int16_t Read(const std::uint8_t* d, std::size_t n, HGLOBAL* dib) {
    if (const crde::Format* format = crde::FormatForFuzzTarget(kTarget)) {
        // A drawing is also drawn larger, as for a zoomed view or a printer.
        if (format->fuzzDecodes && std::strcmp(kTarget, "dxf") == 0 && n % 3 == 2)
            return crde::ReadDxfAt(d, n, 2.5, dib);
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

// A broken invariant stops the run so the fuzzer keeps the input.
void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::size_t blocks = GlobalBlockCount();
    HGLOBAL dib = nullptr;
    const std::int16_t code = Read(bytes, size, &dib);
    if (code != crde::kOk) {
        Require(dib == nullptr, "a failed read handed out a DIB");
        Require(GlobalBlockCount() == blocks, "a failed read left a memory block");
        return 0;
    }
    if (!dib)
        return 0; // an information function
    {
        crde::DibView view(dib);
        Require(view.Valid(), "a read handed out a DIB that is not valid");
        if (view.Width() * view.Height() <= 65536) {
            // Every depth the binding asks of a reader, with and without dithering.
            const bool dither = size % 2 == 1;
            for (int bits : {1, 4, 8, 24}) {
                HGLOBAL converted = nullptr;
                if (crde::ConvertDepth(view, bits, dither, &converted) == crde::kOk)
                    GlobalFree(converted);
                else
                    Require(converted == nullptr, "a failed depth change handed out a DIB");
            }
        }
    }
    GlobalFree(dib);
    Require(GlobalBlockCount() == blocks, "a decoded picture left a memory block behind");
    return 0;
}
