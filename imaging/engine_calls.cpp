// SPDX-License-Identifier: MIT
#include "imaging/engine_calls.h"

#include "imaging/dib.h"
#include "imaging/dib_convert.h"
#include "imaging/error_invalid.h"
#include "imaging/shared_tables.h"
#include "platform/errors.h"

#include <QFile>

#include <cstring>

namespace imaging {

namespace {

using Success = EngineBinding::Success;

EngineBinding& Engine() {
    return EngineBinding::Instance();
}

// How a reader from memory takes its options.
enum class ReadKind { Jpeg, Palette, Plain, Page };
// How a writer takes its options.
enum class WriteKind { None, Depth, Jpeg, Png, Tiff, Tga };

struct FormatEntry {
    const char* read;
    ReadKind readKind;
    const char* readLabel;
    const char* writeFile;
    const char* writeStream;
    WriteKind writeKind;
    const char* writeLabel;
    const char* readFile;
};

const FormatEntry& Entry(TEngineFormat format) {
    static const FormatEntry table[] = {
        {"rdjpgstreamdib", ReadKind::Jpeg, "JPG Stream", "wrjpgfiledib", "wrjpgstreamdib",
         WriteKind::Jpeg, "JPG Stream", "rdjpgfiledib"},
        {"rdbmpstreamdib", ReadKind::Palette, "BMP Stream", "wrbmpfiledib", "wrbmpstreamdib",
         WriteKind::Depth, "BMP Stream", "rdbmpfiledib"},
        {"rdpngstreamdib", ReadKind::Palette, "PNG Stream", "wrpngfiledib", "wrpngstreamdib",
         WriteKind::Png, "PNG Stream", "rdpngfiledib"},
        {"readtgafilestreamdib", ReadKind::Plain, "TGA Stream", "writetgafiledib",
         "writetgafilestreamdib", WriteKind::Tga, "Targa Stream", "readtgafiledib"},
        {"rdpcxstreamdib", ReadKind::Palette, "PCX Stream", "wrpcxfiledib", "wrpcxstreamdib",
         WriteKind::Depth, "PCX Stream", "rdpcxfiledib"},
        {"rdgifstreamdib", ReadKind::Palette, "GIF Stream", "wrgiffiledib", "wrgifstreamdib",
         WriteKind::Depth, "GIF Stream", "rdgiffiledib"},
        {"readtiffiledibstream", ReadKind::Page, "Tiff Stream", "writetiffiledib",
         "writetiffiledibstream", WriteKind::Tiff, "Tiff Stream", "readtiffiledib"},
        {"readpcdfiledibstream", ReadKind::Page, "PCD Stream", nullptr, nullptr, WriteKind::None,
         nullptr, "readpcdfiledib"},
        {"readepsfiledibstream", ReadKind::Plain, "EPS Stream", "writeepsfiledib", nullptr,
         WriteKind::Depth, nullptr, "readepsfiledib"},
    };
    return table[static_cast<int>(format)];
}

QString Label(const char* prefix, const char* label) {
    return QString::fromLatin1(prefix) + QString::fromLatin1(label);
}

// The file check of every file reader: opened for reading and at least 30 bytes long.
bool FileLongEnough(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::FileOpenError(fileName);
    return file.size() >= 30;
}

QByteArray FileNameBytes(const QString& fileName) {
    return fileName.left(510).toLocal8Bit();
}

// The DIB a writer gets: "Input image is empty" when there is none worth writing.
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

// Runs the DIB writer and frees the DIB in every case.
template <class Write> bool WithDib(const TBitmap& bitmap, Write write) {
    HGLOBAL dib = DibForWriting(bitmap);
    bool ok = false;
    try {
        ok = write(dib);
    } catch (...) {
        FreeDib(dib);
        throw;
    }
    FreeDib(dib);
    return ok;
}

// The DIB goes to the bitmap (which may keep its pixels) or is freed: never left behind.
bool ResultToBitmap(bool ok, HGLOBAL dib, int depth, bool dither, TBitmap& bitmap, void* user,
                    ProgressCallback cb) {
    if (!ok) {
        FreeDib(dib);
        return false;
    }
    return AdoptDibAsBitmap(dib, depth, dither, bitmap, user, cb) != 0;
}

// The drawing readers hand back an uncompressed DIB and its colour table.
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

} // namespace

bool ReadStreamToDib(TEngineFormat format, const void* data, std::int32_t size, int depth,
                     bool dither, int option, HGLOBAL* dib, void* user, ProgressCallback cb) {
    const FormatEntry& e = Entry(format);
    const auto d = static_cast<std::int16_t>(depth);
    const std::int16_t di = dither ? 1 : 0;
    const auto o = static_cast<std::int16_t>(option);
    const QString progress = Label("Reading ", e.readLabel);
    switch (e.readKind) {
    case ReadKind::Jpeg:
        return Engine().Invoke<CrdeReadJpegStream>(
            e.read, progress, Success::AtLeastOne,
            [&](auto f) { return f(data, size, d, 1, di, dib, nullptr, user, cb, 0); });
    case ReadKind::Palette:
        return Engine().Invoke<CrdeReadStreamPal>(
            e.read, progress, Success::AtLeastOne,
            [&](auto f) { return f(data, size, d, di, dib, nullptr, user, cb, 0); });
    case ReadKind::Plain:
        return Engine().Invoke<CrdeReadStream>(e.read, progress, Success::AtLeastOne, [&](auto f) {
            return f(data, size, d, di, dib, user, cb, 0);
        });
    case ReadKind::Page:
        return Engine().Invoke<CrdeReadStreamPage>(
            e.read, progress, Success::AtLeastOne,
            [&](auto f) { return f(data, size, d, di, o, dib, user, cb, 0); });
    }
    return false;
}

bool ReadStreamToBitmap(TEngineFormat format, const void* data, std::int32_t size, int depth,
                        bool dither, int option, TBitmap& bitmap, void* user, ProgressCallback cb) {
    HGLOBAL dib = nullptr;
    const bool ok = ReadStreamToDib(format, data, size, depth, dither, option, &dib, user, cb);
    return ResultToBitmap(ok, dib, depth, dither, bitmap, user, cb);
}

bool ReadDxfStream(const void* data, std::int32_t size, int depth, bool dither, TBitmap& bitmap,
                   void* user, ProgressCallback cb) {
    HGLOBAL dib = nullptr, table = nullptr;
    const bool ok = Engine().Invoke<CrdeReadDrawingStream>(
        "readdxftoddbstream", QStringLiteral("Reading DXF Blob"), Success::AtLeastOne, [&](auto f) {
            return f(data, size, static_cast<std::int16_t>(depth), dither ? 1 : 0, &dib, &table,
                     user, cb, 0);
        });
    return DrawingToBitmap(ok, dib, table, bitmap);
}

bool StreamInfo(const void* data, std::int32_t size, TStreamInfo* info) {
    char format[6] = {};
    char compression[511] = {};
    TStreamInfo r;
    const bool ok = Engine().Invoke<CrdeStreamInfo>(
        "streaminfo", Engine().ProgressText(), Success::AtLeastOne, [&](auto f) {
            return f(data, size, format, &r.Width, &r.Height, &r.BitsPerPixel, &r.ExtraA, &r.ExtraB,
                     compression, 0);
        });
    if (ok) {
        r.Format = QString::fromLatin1(format);
        r.Compression = QString::fromLatin1(compression);
        *info = r;
    }
    return ok;
}

bool GetInfoStream(const void* data, std::int32_t size, int page, TTiffPageInfo* info) {
    std::int16_t compression = 0;
    std::int32_t unused = 0;
    TTiffPageInfo r;
    const bool ok = Engine().Invoke<CrdeTiffInfoStream>(
        "getinfostream", Engine().ProgressText(), Success::ZeroOrMoreNoError, [&](auto f) {
            return f(data, size, static_cast<std::int16_t>(page), &r.Width, &r.Height, &compression,
                     &unused, &r.PageCount, &r.BitsPerPixel);
        });
    if (ok) {
        r.Compression = TiffCompressionName(compression);
        *info = r;
    }
    return ok;
}

bool GetDxfInfoStream(const void* data, std::int32_t size, std::int16_t* width,
                      std::int16_t* height, std::int16_t* bits) {
    return Engine().Invoke<CrdeDrawingInfoStream>(
        "getdxfinfostream", Engine().ProgressText(), Success::AtLeastOne,
        [&](auto f) { return f(data, size, width, height, bits); });
}

bool WriteBitmapFile(TEngineFormat format, const QString& fileName, const TWriteOptions& o,
                     const TBitmap& bitmap, void* user, ProgressCallback cb) {
    const FormatEntry& e = Entry(format);
    if (!e.writeFile)
        return false;
    const QByteArray name = FileNameBytes(fileName);
    const QString progress = QStringLiteral("Writing ") + fileName;
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

bool WriteBitmapStream(TEngineFormat format, void* buffer, std::int32_t* size,
                       const TWriteOptions& o, const TBitmap& bitmap, void* user,
                       ProgressCallback cb) {
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

bool ReadFileToDib(TEngineFormat format, const QString& fileName, int depth, bool dither,
                   int option, HGLOBAL* dib, void* user, ProgressCallback cb) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    return Engine().Invoke<CrdeReadFile>(
        Entry(format).readFile, QStringLiteral("Reading ") + fileName, Success::AtLeastOne,
        [&](auto f) {
            return f(name.constData(), static_cast<std::int16_t>(depth), dither ? 1 : 0,
                     static_cast<std::int16_t>(option), dib, user, cb, 0);
        });
}

bool ReadDxfFile(const QString& fileName, int depth, bool dither, TBitmap& bitmap, void* user,
                 ProgressCallback cb) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    HGLOBAL dib = nullptr, table = nullptr;
    const bool ok = Engine().Invoke<CrdeReadDrawingFile>(
        "readdxftoddb", QStringLiteral("Reading ") + fileName, Success::AtLeastOne, [&](auto f) {
            return f(name.constData(), static_cast<std::int16_t>(depth), dither ? 1 : 0, &dib,
                     &table, user, cb, 0);
        });
    return DrawingToBitmap(ok, dib, table, bitmap);
}

bool FileInfo(const QString& fileName, TStreamInfo* info) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    char format[6] = {};
    char compression[511] = {};
    TStreamInfo r;
    const bool ok = Engine().Invoke<CrdeFileInfo>(
        "fileinfo", QStringLiteral("Reading ") + fileName, Success::AtLeastOne, [&](auto f) {
            return f(name.constData(), format, &r.Width, &r.Height, &r.BitsPerPixel, &r.ExtraA,
                     &r.ExtraB, compression, 0);
        });
    if (ok) {
        r.Format = QString::fromLatin1(format);
        r.Compression = QString::fromLatin1(compression);
        *info = r;
    }
    return ok;
}

bool GetInfo(const QString& fileName, int page, TTiffPageInfo* info) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    std::int16_t compression = 0;
    std::int32_t unused = 0;
    TTiffPageInfo r;
    const bool ok = Engine().Invoke<CrdeTiffInfoFile>(
        "getinfo", QStringLiteral("Reading ") + fileName, Success::ZeroOrMoreNoError, [&](auto f) {
            return f(name.constData(), static_cast<std::int16_t>(page), &r.Width, &r.Height,
                     &compression, &unused, &r.PageCount, &r.BitsPerPixel);
        });
    if (ok) {
        r.Compression = TiffCompressionName(compression);
        *info = r;
    }
    return ok;
}

bool GetDxfInfo(const QString& fileName, std::int16_t* width, std::int16_t* height,
                std::int16_t* bits) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    return Engine().Invoke<CrdeDrawingInfoFile>(
        "getdxfinfo", QStringLiteral("Reading ") + fileName, Success::AtLeastOne,
        [&](auto f) { return f(name.constData(), width, height, bits); });
}

// ---- TIFF tags and pages ----

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

// ---- Conversion, scanner, annotation ----

HGLOBAL ConvertDib(const char* exportName, HGLOBAL dib) {
    if (!dib)
        return nullptr;
    void* entry = nullptr;
    if (!Engine().LoadEngineFunction(QString::fromLatin1(EngineBinding::LibraryName), exportName,
                                     &entry))
        return nullptr;
    void* locked = GlobalLock(dib);
    HGLOBAL out = nullptr;
    try {
        out = reinterpret_cast<CrdeConvert>(entry)(locked);
    } catch (...) {
        ShowImagingException();
    }
    GlobalUnlock(dib);
    return out;
}

bool DibToDdb(const void* lockedDib, HGLOBAL* flatDib, HGLOBAL* colourTable) {
    return Engine().Invoke<CrdeDibToDdb>(
        "DibtoDdb", Engine().ProgressText(), Success::AtLeastOne,
        [&](auto f) { return f(lockedDib, flatDib, colourTable); });
}

namespace {
typedef std::int16_t (*ScanSelect)(void* window, std::int16_t zero);
typedef std::int16_t (*ScanAcquire)(void* window, std::int16_t depth, std::int16_t dither,
                                    std::int16_t zero1, HGLOBAL* dib, void* palette, void* user,
                                    ProgressCallback cb, std::int16_t zero);

// Sets the busy flag for the call and clears it after, also when the call throws.
template <class Call> bool Scanner(Call call) {
    EngineBinding& e = Engine();
    if (e.ScannerBusy())
        return false;
    e.SetScannerBusy(true);
    bool ok = false;
    try {
        ok = call();
    } catch (...) {
        e.SetScannerBusy(false);
        throw;
    }
    e.SetScannerBusy(false);
    return ok;
}
} // namespace

bool SelectSource(void* window) {
    return Scanner([&] {
        return Engine().Invoke<ScanSelect>("selectsource", QStringLiteral("Aquiring Image "),
                                           Success::ZeroOrMore,
                                           [&](auto f) { return f(window, 0); });
    });
}

bool AcquireDibImage(void* window, int depth, bool dither, HGLOBAL* dib, void* user,
                     ProgressCallback cb) {
    return Scanner([&] {
        return Engine().Invoke<ScanAcquire>(
            "aquiredibimage", QStringLiteral("Aquiring Image "), Success::ZeroOrMore, [&](auto f) {
                return f(window, static_cast<std::int16_t>(depth), dither ? 1 : 0, 0, dib, nullptr,
                         user, cb, 0);
            });
    });
}

} // namespace imaging
