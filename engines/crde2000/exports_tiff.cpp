// SPDX-License-Identifier: MIT
// The imaging engine's TIFF page and tag exports, for files and for memory.
#include "engines/crde2000/exports_support.h"
#include "engines/crde2000/tiff.h"

using namespace crde;

namespace {

std::int16_t TagValue(const std::uint8_t* data, std::size_t size, int page, std::int32_t tag,
                      char* value, std::int32_t capacity) {
    std::string all;
    if (std::int16_t code = TiffTags(data, size, page, &all); code != kOk)
        return code;
    const std::string key = std::to_string(tag) + "=";
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t end = all.find('\n', at);
        const std::string line = all.substr(at, end - at);
        if (line.compare(0, key.size(), key) == 0)
            return CopyText(line.substr(key.size()), value, capacity);
        at = end == std::string::npos ? all.size() : end + 1;
    }
    return kErrNotThisFormat;
}

} // namespace

CRDE_EXPORT std::int16_t readtagstream(const void* data, std::int32_t size, std::int16_t page,
                                       std::int32_t tag, char* value, std::int32_t capacity) {
    return Guard([&] {
        return size > 0 ? TagValue(static_cast<const std::uint8_t*>(data), std::size_t(size), page,
                                   tag, value, capacity)
                        : kErrBadArgument;
    });
}
CRDE_EXPORT std::int16_t readtag(const char* file, std::int16_t page, std::int32_t tag, char* value,
                                 std::int32_t capacity) {
    return Guard([&] {
        Bytes bytes;
        if (!LoadFile(file, bytes))
            return kErrCannotOpen;
        return TagValue(bytes.data(), bytes.size(), page, tag, value, capacity);
    });
}
CRDE_EXPORT std::int16_t returntagsstream(const void* data, std::int32_t size, std::int16_t page,
                                          char* text, std::int32_t capacity) {
    return Guard([&] {
        std::string all;
        std::int16_t code = size > 0 ? TiffTags(static_cast<const std::uint8_t*>(data),
                                                std::size_t(size), page, &all)
                                     : kErrBadArgument;
        return code == kOk ? CopyText(all, text, capacity) : code;
    });
}
CRDE_EXPORT std::int16_t returntags(const char* file, std::int16_t page, char* text,
                                    std::int32_t capacity) {
    return Guard([&] {
        Bytes bytes;
        if (!LoadFile(file, bytes))
            return kErrCannotOpen;
        return returntagsstream(bytes.data(), static_cast<std::int32_t>(bytes.size()), page, text,
                                capacity);
    });
}
CRDE_EXPORT std::int16_t packtiffstream(const void* data, std::int32_t size, void* out,
                                        std::int32_t* outSize) {
    return Guard([&] {
        Bytes packed;
        std::int16_t code =
            size > 0 ? TiffPack(static_cast<const std::uint8_t*>(data), std::size_t(size), packed)
                     : kErrBadArgument;
        return code == kOk ? ToBuffer(packed, out, outSize) : code;
    });
}
CRDE_EXPORT std::int16_t packtiff(const char* file) {
    return Guard([&] {
        return RewriteFile(
            file, [](const Bytes& in, Bytes& out) { return TiffPack(in.data(), in.size(), out); });
    });
}
CRDE_EXPORT std::int16_t deletepagestream(const void* data, std::int32_t size, std::int16_t page,
                                          void* out, std::int32_t* outSize) {
    return Guard([&] {
        Bytes rest;
        std::int16_t code = size > 0 ? TiffDeletePage(static_cast<const std::uint8_t*>(data),
                                                      std::size_t(size), page, rest)
                                     : kErrBadArgument;
        return code == kOk ? ToBuffer(rest, out, outSize) : code;
    });
}
CRDE_EXPORT std::int16_t deletepage(const char* file, std::int16_t page) {
    return Guard([&] {
        return RewriteFile(file, [page](const Bytes& in, Bytes& out) {
            return TiffDeletePage(in.data(), in.size(), page, out);
        });
    });
}
CRDE_EXPORT std::int16_t writetiffiledibpagereplace(const char* file, std::int16_t page,
                                                    std::int16_t compression, HGLOBAL dib,
                                                    void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        if (!Report(cb, user, 0))
            return kErrCancelled;
        DibView view(dib);
        return RewriteFile(file, [&](const Bytes& in, Bytes& out) {
            return TiffReplacePage(in.data(), in.size(), page, view,
                                   static_cast<std::uint16_t>(compression), out);
        });
    });
}
CRDE_EXPORT std::int16_t
writetiffiledibpagereplacestream(const void* data, std::int32_t size, std::int16_t page,
                                 std::int16_t compression, HGLOBAL dib, void* out,
                                 std::int32_t* outSize, void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        if (size <= 0)
            return kErrBadArgument;
        if (!Report(cb, user, 0))
            return kErrCancelled;
        DibView view(dib);
        Bytes result;
        std::int16_t code =
            TiffReplacePage(static_cast<const std::uint8_t*>(data), std::size_t(size), page, view,
                            static_cast<std::uint16_t>(compression), result);
        return code == kOk ? ToBuffer(result, out, outSize) : code;
    });
}
