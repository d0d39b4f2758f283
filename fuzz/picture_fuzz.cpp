// SPDX-License-Identifier: MIT
// Hostile picture bytes for one reader or information function of the imaging engine, chosen
// when the target is built (VLMOR_FUZZ_<NAME>): each fails with a code or succeeds, never
// crashes or leaks. Decoded pictures also go through the depth changes.
#include "engines/crde2000/bmp.h"
#include "engines/crde2000/depth.h"
#include "engines/crde2000/dxf.h"
#include "engines/crde2000/eps.h"
#include "engines/crde2000/gif.h"
#include "engines/crde2000/info.h"
#include "engines/crde2000/jpeg.h"
#include "engines/crde2000/pcd.h"
#include "engines/crde2000/pcx.h"
#include "engines/crde2000/png.h"
#include "engines/crde2000/tga.h"
#include "engines/crde2000/tiff.h"

namespace {

std::int16_t Read(const std::uint8_t* d, std::size_t n, HGLOBAL* dib) {
#if defined(VLMOR_FUZZ_BMP)
    return crde::ReadBmp(d, n, dib);
#elif defined(VLMOR_FUZZ_PNG)
    return crde::ReadPng(d, n, dib);
#elif defined(VLMOR_FUZZ_JPEG)
    return crde::ReadJpeg(d, n, dib);
#elif defined(VLMOR_FUZZ_GIF)
    return crde::ReadGif(d, n, dib);
#elif defined(VLMOR_FUZZ_TIFF)
    return crde::ReadTiff(d, n, n % 3 == 0 ? 1 : 0, dib);
#elif defined(VLMOR_FUZZ_PCX)
    return crde::ReadPcx(d, n, dib);
#elif defined(VLMOR_FUZZ_TGA)
    return crde::ReadTga(d, n, dib);
#elif defined(VLMOR_FUZZ_PCD)
    return crde::ReadPcd(d, n, 0, dib);
#elif defined(VLMOR_FUZZ_DXF)
    return crde::ReadDxf(d, n, dib);
#elif defined(VLMOR_FUZZ_EPS)
    // Rendering is Ghostscript's; ours is finding the PostScript and its box.
    crde::EpsLayout layout;
    (void)dib;
    return crde::ParseEps(d, n, &layout) ? 0 : -1;
#elif defined(VLMOR_FUZZ_STREAMINFO)
    crde::StreamFacts facts;
    (void)dib;
    return crde::StreamInfo(d, n, &facts) > 0 ? 0 : -1;
#elif defined(VLMOR_FUZZ_TIFFINFO)
    crde::TiffInfo info;
    (void)dib;
    return crde::TiffPageInfo(d, n, 0, &info) > 0 ? 0 : -1;
#elif defined(VLMOR_FUZZ_DXFINFO)
    crde::DxfInfo info;
    (void)dib;
    return crde::DxfSize(d, n, &info) > 0 ? 0 : -1;
#else
#error "choose a reader with VLMOR_FUZZ_<NAME>"
#endif
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    HGLOBAL dib = nullptr;
    if (Read(bytes, size, &dib) > 0 && dib) {
        crde::DibView view(dib);
        if (view.Valid() && view.Width() * view.Height() <= 65536)
            for (int bits : {1, 8, 24}) {
                HGLOBAL converted = nullptr;
                if (crde::ConvertDepth(view, bits, true, &converted) > 0)
                    GlobalFree(converted);
            }
    }
    GlobalFree(dib);
    return 0;
}
