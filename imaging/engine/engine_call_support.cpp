// SPDX-License-Identifier: MIT
#include "imaging/engine/engine_call_support.h"

#include "engines/crde2000/format_rows.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/error_invalid.h"
#include "platform/core/errors.h"

#include <QFile>

#include <cstring>

namespace imaging::calls {

namespace {

// "-" in the format list stands for no export.
constexpr const char* Export(const char* name) {
    return name[0] == '-' ? nullptr : name;
}

#define VLMOR_BINDING_ENTRY(Stem, info, fuzz, fuzzMax, fuzzMode, streamReader, readKind,           \
                            readLabel, fileReader, fileWriter, streamWriter, writeKind,            \
                            writeLabel, depthRule)                                                 \
    FormatEntry{Export(#streamReader), ReadKind::readKind,   readLabel,  Export(#fileWriter),      \
                Export(#streamWriter), WriteKind::writeKind, writeLabel, Export(#fileReader)},

const FormatEntry kEntries[] = {VLMOR_FORMATS(VLMOR_BINDING_ENTRY)};

} // namespace

const FormatEntry& Entry(EngineFormat format) {
    return kEntries[static_cast<int>(format)];
}

QString Label(const char* prefix, const char* label) {
    return QString::fromLatin1(prefix) + QString::fromLatin1(label);
}

bool FileLongEnough(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::FileOpenError(fileName);
    return file.size() >= 30;
}

QByteArray FileNameBytes(const QString& fileName) {
    return fileName.left(510).toLocal8Bit();
}

HGLOBAL DibForWriting(const TBitmap& bitmap) {
    if (!bitmap.HandleAllocated())
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    HGLOBAL dib = nullptr;
    BitmapToDib(&bitmap, &dib);
    if (!dib || GlobalSize(dib) <= 4) {
        FreeDib(dib);
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    }
    return dib;
}

bool ResultToBitmap(bool ok, HGLOBAL dib, int depth, bool dither, TBitmap& bitmap, void* user,
                    ProgressCallback cb) {
    if (!ok) {
        FreeDib(dib);
        return false;
    }
    return AdoptDibAsBitmap(dib, depth, dither, bitmap, user, cb) != 0;
}

bool DrawingToBitmap(bool ok, HGLOBAL dib, HGLOBAL table, TBitmap& bitmap) {
    if (ok)
        ok = DibHandleToBitmap(dib, bitmap) != 0;
    FreeDib(dib);
    FreeDib(table);
    return ok;
}

QString TextResult(const std::vector<char>& buffer) {
    return QString::fromUtf8(buffer.data());
}

bool ToByteArray(const std::vector<char>& buffer, std::int32_t size, QByteArray* out) {
    *out = QByteArray(buffer.data(), size);
    return true;
}

} // namespace imaging::calls
