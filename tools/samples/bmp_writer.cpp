// SPDX-License-Identifier: MIT
#include "tools/samples/bmp_writer.h"

#include <QHash>
#include <QtEndian>

namespace samples {

namespace {

void Put16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void Put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

int Nearest(const QList<QRgb>& table, int r, int g, int b) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < table.size(); ++i) {
        const int dr = qRed(table[i]) - r, dg = qGreen(table[i]) - g, db = qBlue(table[i]) - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// Ordered (4 x 4 Bayer) dithering to a fixed palette, so few colours still show shades.
QImage OrderedToPalette(const QImage& rgb, const QList<QRgb>& table, int spread) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const int offset = (bayer[y & 3][x & 3] - 8) * spread / 16;
            dst[x] = static_cast<uchar>(Nearest(table, qRed(src[x]) + offset,
                                                qGreen(src[x]) + offset, qBlue(src[x]) + offset));
        }
    }
    return out;
}

// A picture of at most 256 colours keeps them exactly; others are dithered to a palette.
QImage ExactOrDithered(const QImage& rgb) {
    QHash<QRgb, int> index;
    QList<QRgb> table;
    for (int y = 0; y < rgb.height() && table.size() <= 256; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width() && table.size() <= 256; ++x) {
            if (!index.contains(src[x])) {
                index.insert(src[x], static_cast<int>(table.size()));
                table << src[x];
            }
        }
    }
    if (table.size() > 256)
        return rgb.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::PreferDither);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            dst[x] = static_cast<uchar>(index.value(src[x]));
    }
    return out;
}

QImage Reduce(const QImage& image, int bits) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (bits == 1)
        return OrderedToPalette(rgb, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, 255);
    if (bits == 4)
        return OrderedToPalette(rgb, SixteenColours(), 96);
    return ExactOrDithered(rgb);
}

} // namespace

QList<QRgb> SixteenColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QByteArray EncodeBmp(const QImage& source, int bits) {
    const QImage image =
        bits == 24 ? source.convertToFormat(QImage::Format_RGB32) : Reduce(source, bits);
    const int w = image.width();
    const int h = image.height();
    const int stride = ((w * bits + 31) / 32) * 4;
    const int colours = bits == 24 ? 0 : (1 << bits);
    const quint32 offset = 14 + 40 + 4 * colours;
    const quint32 size = offset + static_cast<quint32>(stride) * h;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(size));
    out.append("BM", 2);
    Put32(out, size);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<quint32>(w));
    Put32(out, static_cast<quint32>(h)); // bottom-up rows
    Put16(out, 1);
    Put16(out, static_cast<quint16>(bits));
    Put32(out, 0); // no compression
    Put32(out, static_cast<quint32>(stride) * h);
    Put32(out, 2835); // 72 dots an inch
    Put32(out, 2835);
    Put32(out, static_cast<quint32>(colours));
    Put32(out, 0);
    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < colours; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(static_cast<char>(qBlue(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qRed(c)));
        out.append('\0');
    }
    QByteArray row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        row.fill('\0');
        auto* dst = reinterpret_cast<uchar*>(row.data());
        if (bits == 24) {
            const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                dst[3 * x] = static_cast<uchar>(qBlue(src[x]));
                dst[3 * x + 1] = static_cast<uchar>(qGreen(src[x]));
                dst[3 * x + 2] = static_cast<uchar>(qRed(src[x]));
            }
        } else {
            const uchar* src = image.constScanLine(y);
            const int perByte = 8 / bits;
            for (int x = 0; x < w; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                dst[x / perByte] |= static_cast<uchar>((src[x] & ((1 << bits) - 1)) << shift);
            }
        }
        out.append(row);
    }
    return out;
}

} // namespace samples
