// SPDX-License-Identifier: MIT
// Writers of the imaging engine, to files and to memory.
#include "imaging/engine/engine_calls.h"

#include "imaging/engine/engine_call_support.h"

namespace imaging {

using namespace calls;

bool WriteBitmapFile(EngineFormat format, const QString& fileName, const WriteOptions& o,
                     const TBitmap& bitmap, void* user, ProgressCallback cb) {
    const FormatEntry& e = Entry(format);
    if (!e.writeFile)
        return false;
    const QByteArray name = FileNameBytes(fileName);
    const QString progress = QStringLiteral("Writing ") + (o.Label.isEmpty() ? fileName : o.Label);
    const auto d = static_cast<std::int16_t>(o.Depth);
    return WithDib(bitmap, [&](HGLOBAL dib) {
        switch (e.writeKind) {
        case WriteKind::Jpeg:
            return Engine().Invoke<CrdeWriteJpegFile>(
                e.writeFile, progress, Success::AtLeastOne, [&](auto f) {
                    return f(name.constData(), static_cast<std::int16_t>(o.Quality),
                             static_cast<std::int16_t>(o.Smoothing), d, dib, user, cb, 0);
                });
        case WriteKind::Png:
            return Engine().Invoke<CrdeWritePngFile>(
                e.writeFile, progress, Success::AtLeastOne, [&](auto f) {
                    return f(name.constData(), d, o.Interlaced ? 1 : 0, dib, user, cb, 0);
                });
        case WriteKind::Tiff:
            return Engine().Invoke<CrdeWriteTiffFile>(
                e.writeFile, progress, Success::AtLeastOne, [&](auto f) {
                    return f(name.constData(), static_cast<std::int16_t>(o.Compression), d,
                             o.Append ? 1 : 0, dib, user, cb, 0);
                });
        case WriteKind::Tga:
            return Engine().Invoke<CrdeWriteTgaFile>(
                e.writeFile, progress, Success::AtLeastOne,
                [&](auto f) { return f(name.constData(), d, 0, 0, dib, user, cb, 0); });
        default:
            return Engine().Invoke<CrdeWriteFile>(
                e.writeFile, progress, Success::AtLeastOne,
                [&](auto f) { return f(name.constData(), d, dib, user, cb, 0); });
        }
    });
}

bool WriteBitmapStream(EngineFormat format, void* buffer, std::int32_t* size, const WriteOptions& o,
                       const TBitmap& bitmap, void* user, ProgressCallback cb) {
    const FormatEntry& e = Entry(format);
    if (!e.writeStream)
        return false;
    const QString progress = Label("Writing ", e.writeLabel);
    const auto d = static_cast<std::int16_t>(o.Depth);
    return WithDib(bitmap, [&](HGLOBAL dib) {
        switch (e.writeKind) {
        case WriteKind::Jpeg:
            return Engine().Invoke<CrdeWriteJpegStream>(
                e.writeStream, progress, Success::AtLeastOne, [&](auto f) {
                    return f(buffer, size, static_cast<std::int16_t>(o.Quality),
                             static_cast<std::int16_t>(o.Smoothing), d, dib, user, cb, 0);
                });
        case WriteKind::Png:
            return Engine().Invoke<CrdeWritePngStream>(
                e.writeStream, progress, Success::AtLeastOne,
                [&](auto f) { return f(buffer, size, d, o.Interlaced ? 1 : 0, dib, user, cb, 0); });
        case WriteKind::Tiff:
            return Engine().Invoke<CrdeWriteTiffStream>(
                e.writeStream, progress, Success::AtLeastOne, [&](auto f) {
                    return f(&buffer, size, static_cast<std::int16_t>(o.Compression), d,
                             o.Append ? 1 : 0, dib, user, cb, 0);
                });
        case WriteKind::Tga:
            return Engine().Invoke<CrdeWriteTgaStream>(
                e.writeStream, progress, Success::AtLeastOne,
                [&](auto f) { return f(buffer, size, d, 0, 0, dib, user, cb, 0); });
        default:
            return Engine().Invoke<CrdeWriteStream>(
                e.writeStream, progress, Success::AtLeastOne,
                [&](auto f) { return f(buffer, size, d, dib, user, cb, 0); });
        }
    });
}

} // namespace imaging
