// SPDX-License-Identifier: MIT
#include "tools/samples/engine_writer.h"

#include "engines/crde2000/bmp.h"
#include "engines/crde2000/eps.h"
#include "engines/crde2000/gif.h"
#include "engines/crde2000/jpeg.h"
#include "engines/crde2000/pcd.h"
#include "engines/crde2000/pcx.h"
#include "engines/crde2000/png.h"
#include "engines/crde2000/tga.h"
#include "engines/crde2000/tiff.h"
#include "engines/shared/codes.h"
#include "engines/shared/depth.h"

#include <functional>

namespace samples {

namespace {

// The picture as a DIB at `bits`, the way the engine holds every picture.
HGLOBAL DibOf(const QImage& source, int bits) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    crde::NewDib dib;
    if (dib.Create(image.width(), image.height(), 24, 0) != crde::kOk)
        return nullptr;
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint8_t* out = dib.Row(y);
        for (int x = 0; x < image.width(); ++x) {
            out[3 * x] = static_cast<std::uint8_t>(qBlue(in[x]));
            out[3 * x + 1] = static_cast<std::uint8_t>(qGreen(in[x]));
            out[3 * x + 2] = static_cast<std::uint8_t>(qRed(in[x]));
        }
    }
    HGLOBAL full = dib.Release();
    if (bits == 24)
        return full;
    HGLOBAL reduced = nullptr;
    {
        crde::DibView view(full);
        crde::ConvertDepth(view, bits, true, &reduced);
    }
    GlobalFree(full);
    return reduced;
}

using Encoder = std::function<std::int16_t(const crde::DibView&, crde::Bytes&)>;

bool Encode(const QImage& image, int bits, const Encoder& encode, crde::Bytes& out) {
    HGLOBAL dib = DibOf(image, bits);
    if (!dib)
        return false;
    std::int16_t code;
    {
        crde::DibView view(dib);
        code = encode(view, out);
    }
    GlobalFree(dib);
    return code == crde::kOk;
}

Encoder Tiff(int compression) {
    return [compression](const crde::DibView& d, crde::Bytes& out) {
        return crde::WriteTiff(d, compression, out);
    };
}

} // namespace

QByteArray WriteWithEngine(const QImage& image, SampleFormat kind) {
    crde::Bytes out;
    bool ok = false;
    switch (kind) {
    case SampleFormat::Bmp1:
        ok = Encode(image, 1, crde::WriteBmp, out);
        break;
    case SampleFormat::Bmp4:
        ok = Encode(image, 4, crde::WriteBmp, out);
        break;
    case SampleFormat::Bmp8:
        ok = Encode(image, 8, crde::WriteBmp, out);
        break;
    case SampleFormat::Bmp24:
        ok = Encode(image, 24, crde::WriteBmp, out);
        break;
    case SampleFormat::Png:
        ok = Encode(
            image, 24,
            [](const crde::DibView& d, crde::Bytes& o) { return crde::WritePng(d, false, o); },
            out);
        break;
    case SampleFormat::Jpg:
        ok = Encode(
            image, 24,
            [](const crde::DibView& d, crde::Bytes& o) {
                return crde::WriteJpeg(d, 88, 0, false, o);
            },
            out);
        break;
    case SampleFormat::TifNone:
        ok = Encode(image, 24, Tiff(1), out);
        break;
    case SampleFormat::TifLzw:
        ok = Encode(image, 24, Tiff(5), out);
        break;
    case SampleFormat::TifPackBits:
        ok = Encode(image, 8, Tiff(32773), out);
        break;
    case SampleFormat::TifFax4:
        ok = Encode(image, 1, Tiff(4), out);
        break;
    case SampleFormat::TifPages: {
        QImage negative = image.convertToFormat(QImage::Format_RGB32);
        negative.invertPixels();
        // Each page is appended to the file the previous ones made.
        ok = Encode(image, 24, Tiff(5), out) &&
             Encode(image.mirrored(true, false), 8, Tiff(32773), out) &&
             Encode(negative, 24, Tiff(5), out);
        break;
    }
    case SampleFormat::Pcx:
        ok = Encode(image, 8, crde::WritePcx, out);
        break;
    case SampleFormat::Gif:
        ok = Encode(image, 8, crde::WriteGif, out);
        break;
    case SampleFormat::Tga:
        ok = Encode(
            image, 24,
            [](const crde::DibView& d, crde::Bytes& o) { return crde::WriteTga(d, true, o); }, out);
        break;
    case SampleFormat::Eps:
        ok = Encode(image, 24, crde::WriteEps, out);
        break;
    case SampleFormat::Pcd:
        ok = Encode(image, 24, crde::WritePcd, out);
        break;
    case SampleFormat::Dxf:
    case SampleFormat::Wmf:
    case SampleFormat::Emf:
    case SampleFormat::Scm:
    case SampleFormat::Cms:
    case SampleFormat::Rtf:
    case SampleFormat::HeaderBmp:
    case SampleFormat::NoPicture:
        break; // not written by the engine
    }
    if (!ok)
        return {};
    return QByteArray(reinterpret_cast<const char*>(out.data()),
                      static_cast<qsizetype>(out.size()));
}

} // namespace samples
