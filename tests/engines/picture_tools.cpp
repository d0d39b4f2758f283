// SPDX-License-Identifier: MIT
#include "tests/engines/picture_tools.h"
#include "engines/dib/dib_layout.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

namespace picture_tools {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool Run(const QString& program, const QStringList& args, const QString& output) {
    QProcess p;
    if (!output.isEmpty())
        p.setStandardOutputFile(output);
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool Convert(const QStringList& args) {
    return Run(QStringLiteral("convert"), args);
}

QImage DibImage(HGLOBAL dib) {
    const auto* d = static_cast<const std::uint8_t*>(GlobalLock(dib));
    if (!d)
        return {};
    auto u32 = [d](int at) {
        return std::uint32_t(d[at]) | d[at + 1] << 8 | d[at + 2] << 16 |
               std::uint32_t(d[at + 3]) << 24;
    };
    const int w = static_cast<int>(u32(4));
    const int storedH = static_cast<int>(u32(8));
    const int h = std::abs(storedH), bits = d[14];
    const int colours =
        static_cast<int>(u32(32)) ? static_cast<int>(u32(32)) : (bits <= 8 ? 1 << bits : 0);
    const std::uint8_t* table = d + u32(0);
    const std::uint8_t* rows = table + 4 * colours;
    const int stride = static_cast<int>(dib::RowStride(std::uint64_t(w), unsigned(bits)));
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = rows + (storedH < 0 ? y : h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            if (bits == 24 || bits == 32) {
                const std::uint8_t* p = row + (bits / 8) * x;
                image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
                continue;
            }
            if (bits == 16) {
                const unsigned v = row[2 * x] | row[2 * x + 1] << 8;
                auto wide = [](unsigned c) { return int(c << 3 | c >> 2); };
                image.setPixel(x, y, qRgb(wide((v >> 10) & 31), wide((v >> 5) & 31), wide(v & 31)));
                continue;
            }
            int index;
            if (bits == 8)
                index = row[x];
            else if (bits == 4)
                index = (x & 1) ? row[x / 2] & 0xF : row[x / 2] >> 4;
            else
                index = (row[x / 8] >> (7 - x % 8)) & 1;
            const std::uint8_t* e = table + 4 * index;
            image.setPixel(x, y, qRgb(e[2], e[1], e[0]));
        }
    }
    GlobalUnlock(dib);
    return image;
}

namespace {

QImage FromPpm(const QString& path) {
    QImage image;
    image.load(path, "PPM");
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage ImageMagickPixels(const QString& file, const QString& frame) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("ref.ppm"));
    // PPM holds the samples as they are; Qt reads it without colour handling.
    if (!Convert({file + frame, QStringLiteral("-auto-orient"), QStringLiteral("-depth"),
                  QStringLiteral("8"), QStringLiteral("-type"), QStringLiteral("TrueColor"),
                  QStringLiteral("PPM:") + out}))
        return {};
    return FromPpm(out);
}

QImage NetpbmPcxPixels(const QString& file) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("ref.ppm"));
    if (!Run(QStringLiteral("pcxtoppm"), {file}, out))
        return {};
    return FromPpm(out);
}

QImage GhostscriptPixels(const QString& file) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("ref.ppm"));
    if (!Run(QStringLiteral("gs"),
             {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
              QStringLiteral("-dNOPAUSE"), QStringLiteral("-dEPSCrop"), QStringLiteral("-r72"),
              QStringLiteral("-sDEVICE=ppmraw"), QStringLiteral("-sOutputFile=") + out, file}))
        return {};
    return FromPpm(out);
}

Difference Compare(const QImage& a, const QImage& b) {
    Difference d;
    if (a.size() != b.size() || a.isNull()) {
        d.sizeDiffers = true;
        return d;
    }
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int diffs[3] = {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                  std::abs(qBlue(p) - qBlue(q))};
            bool any = false;
            for (int v : diffs) {
                sum += v;
                d.largest = std::max(d.largest, v);
                any = any || v;
            }
            d.pixels += any;
        }
    d.mean = sum / (3.0 * a.width() * a.height());
    return d;
}

QImage TestPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1),
                                (x + y) * 255 / std::max(1, width + height - 2)));
    const QRgb blocks[] = {qRgb(200, 30, 40), qRgb(0, 0, 255), qRgb(250, 250, 250), qRgb(0, 0, 0)};
    for (int i = 0; i < 4; ++i)
        for (int y = height / 4; y < height / 2; ++y)
            for (int x = i * width / 4; x < i * width / 4 + width / 8; ++x)
                image.setPixel(x, y, blocks[i]);
    return image;
}

QString Identify(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("identify"),
            {QStringLiteral("-format"), QStringLiteral("%z %w %h"), file + QStringLiteral("[0]")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace picture_tools
