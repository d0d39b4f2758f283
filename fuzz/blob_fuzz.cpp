// SPDX-License-Identifier: MIT
// Any bytes in a picture field, as the image view meets them: detection, then the engine's
// reader of the kind detected, through the binding and the loaded engine module.
#include "imaging/decoding/blob_detection.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_calls.h"
#include "platform/core/dialogs.h"
#include "platform/memory/global_memory.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <dlfcn.h>
#include <map>
#include <string>

namespace {

// The readers by load name; EPS is left out (its rendering is Ghostscript's, in a child
// process, and its own target fuzzes our part of it).
const std::map<QString, imaging::EngineFormat>& Readers() {
    static const std::map<QString, imaging::EngineFormat> readers{
        {"JPG", imaging::EngineFormat::Jpeg}, {"PNG", imaging::EngineFormat::Png},
        {"TIF", imaging::EngineFormat::Tiff}, {"GIF", imaging::EngineFormat::Gif},
        {"PCX", imaging::EngineFormat::Pcx},  {"TGA", imaging::EngineFormat::Tga},
        {"BMP", imaging::EngineFormat::Bmp},  {"PCD", imaging::EngineFormat::Pcd}};
    return readers;
}

// The binding unloads the engine after some failures; the fuzzer keeps reading the coverage
// counters of every module it saw, so the engine is pinned in memory once, beside the shared
// memory-block library where the build puts it.
void PinEngine() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&GlobalAlloc), &info) && info.dli_fname) {
        std::string path = info.dli_fname;
        path = path.substr(0, path.find_last_of('/') + 1) + "libcrde2000.so";
        dlopen(path.c_str(), RTLD_NOW | RTLD_NODELETE);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const bool ready = [] {
        static platform::NoDialogs dialogs; // the binding's messages go to standard error
        platform::SetDialogService(&dialogs);
        PinEngine();
        imaging::EngineBinding::Instance().Start();
        return true;
    }();
    (void)ready;
    const QByteArray blob(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    imaging::BlobInfo info;
    const imaging::Detection d = imaging::DetectBlob(blob, int(size % 3), info);
    if (d.engineError)
        return 0;
    imaging::TBitmap bitmap;
    const int depth = imaging::DecodesMonochrome(d.loadName, info.BlobBitsPerPixel) ? 1 : 24;
    const int offset = d.loadName == QLatin1String("BMP") ? imaging::GraphicHeaderOffset(blob) : 0;
    if (const auto it = Readers().find(d.loadName); it != Readers().end())
        imaging::ReadStreamToBitmap(it->second, blob.constData() + offset,
                                    std::int32_t(blob.size() - offset), depth, size % 2 == 1,
                                    int(size % 3), bitmap, nullptr, nullptr);
    else if (d.loadName == QLatin1String("DXF"))
        imaging::ReadDxfStream(blob.constData(), std::int32_t(blob.size()), depth, false, bitmap,
                               nullptr, nullptr);
    return 0;
}
