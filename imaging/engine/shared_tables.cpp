// SPDX-License-Identifier: MIT
#include "imaging/engine/shared_tables.h"

#include "imaging/formats/format_table.h"
#include "imaging/metafile/metafile_header.h"

#include "platform/core/paths.h"
#include "platform/core/profile.h"
#include "platform/core/system_folders.h"

#include <QFont>
#include <QFontMetrics>
#include <QIODevice>
#include <QPaintDevice>
#include <QPainter>

namespace imaging {

int TiffCompressionCode(TTiffCompression compression) {
    switch (compression) {
    case sNONE:
        return 1;
    case sCCITT:
        return 2;
    case sFAXCCITT3:
        return 3;
    case sFAXCCITT4:
        return 4;
    case sLZW:
        return 5;
    case sPACKBITS:
        return 32773;
    }
    return 1;
}

QString TiffCompressionName(std::int16_t code) {
    switch (code) {
    case 1:
        return QStringLiteral("NONE");
    case 2:
        return QStringLiteral("CCITT3");
    case 3:
        return QStringLiteral("FAXCCITT3");
    case 4:
        return QStringLiteral("FAXCCITT4");
    case 5:
        return QStringLiteral("LZW");
    case -32763:
        return QStringLiteral("PACKBITS");
    default:
        return QStringLiteral("UNKNOWN");
    }
}

int DisplayBitDepth(const QPaintDevice* device) {
    const int p = device ? device->depth() : 24;
    if (p <= 4)
        return 4;
    if (p <= 15)
        return 8;
    return 24;
}

int WriteBitsForFormat(const QString& extension, TSaveResolution resolution,
                       const QPaintDevice* canvas) {
    const int display = DisplayBitDepth(canvas);
    // Rows: sColorVga, sMonoChrome, sColor16, sColor256, sColorTrue, sJpegGray; then automatic.
    struct Row {
        const char* extension;
        int depths[6];
    };
    static const Row rows[] = {{"jpg", {24, 1, 24, 24, 24, 1}},
                               {"tga", {8, 8, 8, 8, 24, 8}},
                               {"dic", {8, 8, 8, 8, 8, 8}},
                               {"gif", {0, 1, 4, 8, 8, 8}}};
    static const Row general{"", {0, 1, 4, 8, 24, 8}};
    const Row* row = &general;
    for (const Row& r : rows)
        if (extension == QLatin1String(r.extension))
            row = &r;
    if (resolution == sAutoMatic) {
        if (row == &rows[0])
            return 24;
        if (row == &rows[1] || row == &rows[2])
            return std::max(display, 8);
        if (row == &rows[3])
            return std::min(display, 8);
        return display;
    }
    return row->depths[resolution];
}

QString MediaFilter() {
    static const char* const types[] = {"WAV", "MID", "RMI", "AVI", "MOV"};
    static const char* const entries[] = {
        "|Wave Sound    (WAV) |*.WAV", "|Midi Sound    (MID) |*.MID", "|RMI Sound    (RMI) |*.RMI",
        "|Video for Windows    (AVI) |*.AVI", "|Apple Quicktime Video    (MOV) |*.MOV"};
    const QString profile = platform::ProfileFilePath(QStringLiteral("win.ini"));
    bool known[5];
    for (int i = 0; i < 5; ++i)
        known[i] = platform::GetPrivateProfileString(
                       QStringLiteral("mci extensions"), QString::fromLatin1(types[i]),
                       QStringLiteral("none"), 25, profile) != QLatin1String("none");
    QString filter =
        QStringLiteral("All Supported Media Formats|") + FilterPatterns(FormatList::OpenAll);
    for (int i = 0; i < 5; ++i)
        if (known[i])
            filter += QStringLiteral("*.") + QString::fromLatin1(types[i]) + u';';
    filter += u'|' + FilterEntries(FormatList::OpenFilter);
    for (int i = 0; i < 5; ++i)
        if (known[i])
            filter += QString::fromLatin1(entries[i]);
    return filter;
}

QString TiffTagName(int tag, bool* readOnly) {
    struct Tag {
        int number;
        const char* name;
        bool readOnly;
    };
    static const Tag tags[] = {
        {254, "NEWSUBFILETYPE", true},
        {255, "FILETYPE", false},
        {256, "IMAGEWIDTH", true},
        {257, "IMAGELENGTH", true},
        {258, "BITSPERSAMPLE", true},
        {259, "COMPRESSION", true},
        {262, "PHOTOMETRICINTERPRETATION", true},
        {263, "THRESHHOLDING", false},
        {264, "CELLWIDTH", false},
        {265, "CELLLENGTH", false},
        {266, "FILLORDER", true},
        {269, "DOCUMENTNAME", false},
        {270, "IMAGEDESCRIPTION", false},
        {271, "MAKE", false},
        {272, "MODEL", false},
        {273, "STRIPOFFSETS", true},
        {274, "ORIENTATION", false},
        {277, "SAMPLESPERPIXEL", true},
        {278, "ROWSPERSTRIP", true},
        {279, "STRIPBYTECOUNTS", true},
        {280, "MINIMUMVALUE", false},
        {281, "MAXIMUMVALUE", false},
        {282, "XRESOLUTION", false},
        {283, "YRESOLUTION", false},
        {284, "PLANARCONFIG", false},
        {285, "PAGENAME", true},
        {286, "XPOSITION", false},
        {287, "YPOSITION", false},
        {288, "FREEOFFSETS", true},
        {289, "FREEBYTECOUNTS", true},
        {290, "GRAYRESPONSEUNITS", false},
        {291, "GRAYSCALERRESPONSE", false},
        {292, "GROUP3OPTIONS", true},
        {293, "GROUP4OPTIONS", true},
        {296, "RESOLUTIONUNIT", false},
        {297, "PAGENUMBER", false},
        {300, "COLORRESPONSEUNIT", false},
        {301, "COLORRESPONSECURVES", false},
        {305, "SOFTWARE", false},
        {306, "DATETIME", false},
        {315, "ARTIST", false},
        {316, "HOSTCOMPUTER", false},
        {317, "PREDICTOR", false},
        {320, "COLORMAP", true},
        {322, "TILEWIDTH", true},
        {323, "TILELENGTH", true},
        {324, "TILEOFFSETS", true},
        {325, "TILEBYTECOUNTS", true},
        {327, "CLEANFAXDATA", true},
        {33432, "COPYRIGHT", false},
    };
    for (const Tag& t : tags)
        if (t.number == tag) {
            if (readOnly)
                *readOnly = t.readOnly;
            return QString::fromLatin1(t.name);
        }
    if (readOnly)
        *readOnly = false;
    return QStringLiteral("Unknown");
}

bool IsMetafileStream(QIODevice& stream) {
    // The tests run from the stream's start, which is where it is left.
    stream.seek(0);
    return DetectMetafile(stream.peek(100 + 1)) != MetafileKind::None;
}

StretchMode SetBlitStretchMode(int bitsPerPixel, TBlitMode mode, StretchMode* canvasMode) {
    StretchMode result = StretchMode::ColourOnColour;
    if (bitsPerPixel < 2)
        result = mode == sDark       ? StretchMode::BlackOnWhite
                 : mode == sLightest ? StretchMode::WhiteOnBlack
                                     : StretchMode::ColourOnColour;
    if (canvasMode)
        *canvasMode = result;
    return result;
}

void DrawRotatedText(int x, int y, int angle, const QString& text, const QColor& shadowColour,
                     bool transparent, bool shadow, QPainter* canvas, const QFont* font,
                     const QColor& fontColour) {
    if (!canvas || !font)
        return;
    QFont f(font->family());
    f.setPixelSize(font->pixelSize() > 0 ? font->pixelSize() : QFontMetrics(*font).height());
    f.setWeight(font->bold() ? QFont::Bold : QFont::Normal);
    f.setItalic(font->italic());
    f.setUnderline(font->underline());
    f.setStrikeOut(font->strikeOut());
    f.setFixedPitch(font->fixedPitch());
    canvas->save();
    canvas->setFont(f);
    canvas->setBackgroundMode(transparent ? Qt::TransparentMode : Qt::OpaqueMode);
    const int ascent = QFontMetrics(f).ascent();
    auto draw = [&](int px, int py, const QColor& colour) {
        canvas->save();
        canvas->translate(px, py);
        canvas->rotate(-angle); // escapement turns anticlockwise
        canvas->setPen(colour);
        canvas->drawText(0, ascent, text);
        canvas->restore();
    };
    if (shadow)
        draw(x + 2, y + 2, shadowColour);
    draw(x, y, fontColour);
    canvas->restore();
}

QString AnnotationIniPath() {
    return platform::JoinPath(platform::WindowsDirectory(), QStringLiteral("il_anno.ini"));
}

} // namespace imaging
