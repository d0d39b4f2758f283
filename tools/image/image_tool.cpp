// SPDX-License-Identifier: MIT
#include "tools/image/image_tool.h"

#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/error_invalid.h"
#include "imaging/formats/format_table.h"
#include "platform/core/errors.h"

#include <QFileInfo>

#include <optional>

namespace tools {

using namespace imaging;

const char* const kImageToolUsage =
    "usage: vlmor-image info FILE\n"
    "       vlmor-image convert IN OUT [--depth 0|1|4|8|24] [--quality 1-100]\n"
    "                   [--smoothing 0-100] [--compression NONE|CCITT3|FAXCCITT3|FAXCCITT4|LZW|"
    "PACKBITS]\n"
    "                   [--interlace] [--append] [--page N] [--pcd-mode 0|1|2] [--dither]\n";

namespace {

// The engine's reader of a stream-information name (a drawing has its own reader).
std::optional<EngineFormat> FormatByName(const QString& name) {
    const PictureFormat* f = FormatOfInfoName(name);
    return f && f->Kind == PictureKind::Picture ? f->Engine : std::nullopt;
}

// The engine's writer of a file's extension, in any spelling the format table knows.
std::optional<EngineFormat> FormatByExtension(const QString& path) {
    const PictureFormat* f = FormatOfFile(path);
    return f && f->EngineWrites ? f->Engine : std::nullopt;
}

// "bmp, png, ..., jpg/jpeg": the extensions of the formats the engine writes.
QString WrittenExtensions() {
    QStringList names;
    for (const PictureFormat& f : PictureFormats()) {
        if (!f.EngineWrites)
            continue;
        names << Spellings(f).join(u'/').toLower();
    }
    return names.join(QStringLiteral(", "));
}

std::optional<int> CompressionByName(const QString& name) {
    static const struct {
        const char* name;
        TTiffCompression value;
    } names[] = {{"NONE", sNONE},           {"CCITT3", sCCITT}, {"FAXCCITT3", sFAXCCITT3},
                 {"FAXCCITT4", sFAXCCITT4}, {"LZW", sLZW},      {"PACKBITS", sPACKBITS}};
    for (const auto& n : names)
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return TiffCompressionCode(n.value);
    return std::nullopt;
}

QString EngineFailure() {
    const EngineError& e = EngineBinding::Instance().LastEngineError();
    return e.Text.isEmpty() ? QStringLiteral("the engine refused the picture")
                            : QStringLiteral("%1 (code %2)").arg(e.Text).arg(e.Code);
}

int Info(const QString& file, QTextStream& out, QTextStream& err) {
    StreamFacts info;
    if (!FileInfo(file, &info)) {
        err << file << ": " << EngineFailure() << '\n';
        return 1;
    }
    out << "format: " << info.Format << '\n'
        << "width: " << info.Width << '\n'
        << "height: " << info.Height << '\n'
        << "bits per pixel: " << info.BitsPerPixel << '\n'
        << "compression: " << info.Compression << '\n'
        << "extra: " << info.ExtraA << ' ' << info.ExtraB << '\n';
    if (info.Format == QLatin1String("TIFF")) {
        TiffPageInfo page;
        if (GetInfo(file, 0, &page))
            out << "pages: " << page.PageCount << '\n';
    }
    return 0;
}

struct Options {
    WriteOptions write;
    bool depthGiven = false;
    int page = 0;
    int pcdMode = pcd_BASE;
    bool dither = false;
};

bool ParseOptions(const QStringList& args, Options* o, QTextStream& err) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto number = [&](int* target, int low, int high) {
            bool ok = false;
            const int v = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || v < low || v > high) {
                err << a << " needs a number from " << low << " to " << high << '\n';
                return false;
            }
            *target = v;
            return true;
        };
        if (a == QLatin1String("--depth")) {
            if (!number(&o->write.Depth, 0, 24))
                return false;
            if (o->write.Depth != 0 && o->write.Depth != 1 && o->write.Depth != 4 &&
                o->write.Depth != 8 && o->write.Depth != 24) {
                err << "--depth takes 0, 1, 4, 8 or 24\n";
                return false;
            }
            o->depthGiven = true;
        } else if (a == QLatin1String("--quality")) {
            if (!number(&o->write.Quality, 1, 100))
                return false;
        } else if (a == QLatin1String("--smoothing")) {
            if (!number(&o->write.Smoothing, 0, 100))
                return false;
        } else if (a == QLatin1String("--page")) {
            if (!number(&o->page, 0, 32767))
                return false;
        } else if (a == QLatin1String("--pcd-mode")) {
            if (!number(&o->pcdMode, 0, 2))
                return false;
        } else if (a == QLatin1String("--compression")) {
            const auto code = i + 1 < args.size() ? CompressionByName(args[++i]) : std::nullopt;
            if (!code) {
                err << "--compression takes NONE, CCITT3, FAXCCITT3, FAXCCITT4, LZW or PACKBITS\n";
                return false;
            }
            o->write.Compression = *code;
        } else if (a == QLatin1String("--interlace")) {
            o->write.Interlaced = true;
        } else if (a == QLatin1String("--append")) {
            o->write.Append = true;
        } else if (a == QLatin1String("--dither")) {
            o->dither = true;
        } else {
            err << "unknown option " << a << '\n';
            return false;
        }
    }
    return true;
}

int Convert(const QString& in, const QString& outFile, const Options& o, QTextStream& err) {
    const auto target = FormatByExtension(outFile);
    if (!target) {
        err << outFile << ": the extension names no format the engine writes\n";
        return 2;
    }
    StreamFacts info;
    if (!FileInfo(in, &info)) {
        err << in << ": " << EngineFailure() << '\n';
        return 1;
    }
    TBitmap bitmap;
    bool ok;
    if (info.Format == QLatin1String("DXF")) {
        ok = ReadDxfFile(in, 0, o.dither, bitmap, nullptr, nullptr);
    } else {
        const auto source = FormatByName(info.Format);
        if (!source) {
            err << in << ": the engine cannot read " << info.Format << " pictures\n";
            return 1;
        }
        HGLOBAL dib = nullptr;
        const int option = *source == EngineFormat::Pcd ? o.pcdMode : o.page;
        ok = ReadFileToDib(*source, in, 0, o.dither, option, &dib, nullptr, nullptr) &&
             DibHandleToBitmap(dib, bitmap) != 0;
        FreeDib(dib);
    }
    if (!ok) {
        err << in << ": " << EngineFailure() << '\n';
        return 1;
    }
    WriteOptions write = o.write;
    if (!o.depthGiven && *target == EngineFormat::Jpeg) {
        // JPEG stores colour or grey: at depth 0 the engine keeps colour unless the picture is
        // grey (8 bits would ask for grey).
        write.Depth = 0;
    } else if (!o.depthGiven) {
        // The picture's own depth, as far as the format stores it.
        HGLOBAL dib = nullptr;
        BitmapToDib(&bitmap, &dib);
        write.Depth = DibBitCount(dib);
        FreeDib(dib);
    }
    if (!WriteBitmapFile(*target, outFile, write, bitmap, nullptr, nullptr)) {
        err << outFile << ": " << EngineFailure() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int RunImageTool(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    try {
        if (arguments.size() == 2 && arguments[0] == QLatin1String("info"))
            return Info(arguments[1], out, err);
        if (arguments.size() >= 3 && arguments[0] == QLatin1String("convert")) {
            Options options;
            if (!ParseOptions(arguments.mid(3), &options, err))
                return 2;
            return Convert(arguments[1], arguments[2], options, err);
        }
        err << kImageToolUsage << "OUT's extension picks the format: " << WrittenExtensions()
            << ".\n";
        return 2;
    } catch (const platform::Exception& e) {
        err << e.Message() << '\n';
        return 1;
    }
}

} // namespace tools
