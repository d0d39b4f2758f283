// SPDX-License-Identifier: MIT
// TIFF tags and pages through the imaging engine.
#include "imaging/engine/engine_calls.h"

#include "imaging/engine/engine_call_support.h"

#include <algorithm>

namespace imaging {

using namespace calls;

namespace {
constexpr std::int32_t kTagText = 64 * 1024;
}

bool ReadTag(const QString& fileName, int page, int tag, QString* value) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    std::vector<char> buffer(kTagText, 0);
    const bool ok = Engine().Invoke<CrdeReadTagFile>(
        "readtag", QStringLiteral("TAG Read = ") + fileName, Success::AtLeastOne, [&](auto f) {
            return f(name.constData(), static_cast<std::int16_t>(page), tag, buffer.data(),
                     kTagText);
        });
    if (ok)
        *value = TextResult(buffer);
    return ok;
}

bool ReadTagStream(const void* data, std::int32_t size, int page, int tag, QString* value) {
    std::vector<char> buffer(kTagText, 0);
    const bool ok = Engine().Invoke<CrdeReadTagStream>(
        "readtagstream", QStringLiteral("TAG Read = Stream"), Success::AtLeastOne, [&](auto f) {
            return f(data, size, static_cast<std::int16_t>(page), tag, buffer.data(), kTagText);
        });
    if (ok)
        *value = TextResult(buffer);
    return ok;
}

bool ReturnTags(const QString& fileName, int page, QString* text) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    std::vector<char> buffer(kTagText, 0);
    const bool ok = Engine().Invoke<CrdeTagsFile>(
        "returntags", QStringLiteral("TAG Read = ") + fileName, Success::AtLeastOne, [&](auto f) {
            return f(name.constData(), static_cast<std::int16_t>(page), buffer.data(), kTagText);
        });
    if (ok)
        *text = TextResult(buffer);
    return ok;
}

bool ReturnTagsStream(const void* data, std::int32_t size, int page, QString* text) {
    std::vector<char> buffer(kTagText, 0);
    const bool ok = Engine().Invoke<CrdeTagsStream>(
        "returntagsstream", QStringLiteral("TAG Read = Stream"), Success::AtLeastOne, [&](auto f) {
            return f(data, size, static_cast<std::int16_t>(page), buffer.data(), kTagText);
        });
    if (ok)
        *text = TextResult(buffer);
    return ok;
}

namespace {
// Rewritten TIFFs never grow past the source and one page of raw pixels; a generous cap.
std::int32_t RewriteCapacity(std::int32_t size) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(0x7FFFFFFF, std::int64_t(size) * 4 + (64 << 20)));
}
} // namespace

bool PackTiff(const QString& fileName) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    return Engine().Invoke<CrdePackFile>("packtiff", QStringLiteral("Packing ") + fileName,
                                         Success::AtLeastOne,
                                         [&](auto f) { return f(name.constData()); });
}

bool PackTiffStream(const void* data, std::int32_t size, QByteArray* out) {
    std::int32_t written = RewriteCapacity(size);
    std::vector<char> buffer(static_cast<std::size_t>(written));
    const bool ok = Engine().Invoke<CrdePackStream>(
        "packtiffstream", QStringLiteral("Packing Tiff Stream"), Success::AtLeastOne,
        [&](auto f) { return f(data, size, buffer.data(), &written); });
    return ok && ToByteArray(buffer, written, out);
}

bool DeletePage(const QString& fileName, int page) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    return Engine().Invoke<CrdeDeletePageFile>(
        "deletepage", QStringLiteral("Updating ") + fileName, Success::AtLeastOne,
        [&](auto f) { return f(name.constData(), static_cast<std::int16_t>(page)); });
}

bool DeletePageStream(const void* data, std::int32_t size, int page, QByteArray* out) {
    std::int32_t written = RewriteCapacity(size);
    std::vector<char> buffer(static_cast<std::size_t>(written));
    const bool ok = Engine().Invoke<CrdeDeletePageStream>(
        "deletepagestream", QStringLiteral("Updating Tiff Stream"), Success::AtLeastOne,
        [&](auto f) {
            return f(data, size, static_cast<std::int16_t>(page), buffer.data(), &written);
        });
    return ok && ToByteArray(buffer, written, out);
}

bool ReplaceTiffPage(const QString& fileName, int page, int compression, const TBitmap& bitmap) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    return WithDib(bitmap, [&](HGLOBAL dib) {
        return Engine().Invoke<CrdeReplacePageFile>(
            "writetiffiledibpagereplace", QStringLiteral("Updating ") + fileName,
            Success::AtLeastOne, [&](auto f) {
                return f(name.constData(), static_cast<std::int16_t>(page),
                         static_cast<std::int16_t>(compression), dib, nullptr, nullptr, 0);
            });
    });
}

bool ReplaceTiffPageStream(const void* data, std::int32_t size, int page, int compression,
                           const TBitmap& bitmap, QByteArray* out) {
    return WithDib(bitmap, [&](HGLOBAL dib) {
        std::int32_t written = RewriteCapacity(
            size + static_cast<std::int32_t>(std::min<std::size_t>(GlobalSize(dib), 1 << 30)));
        std::vector<char> buffer(static_cast<std::size_t>(written));
        const bool ok = Engine().Invoke<CrdeReplacePageStream>(
            "writetiffiledibpagereplacestream", QStringLiteral("Updating Tiff Stream"),
            Success::AtLeastOne, [&](auto f) {
                return f(data, size, static_cast<std::int16_t>(page),
                         static_cast<std::int16_t>(compression), dib, buffer.data(), &written,
                         nullptr, nullptr, 0);
            });
        return ok && ToByteArray(buffer, written, out);
    });
}

} // namespace imaging
