// SPDX-License-Identifier: MIT
#include "tests/e2e/main_window_screen.h"

#include "tests/engines/picture_tools.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace main_window_screen {

namespace {

// ImageMagick inverts one-bit PCX files; netpbm reads them as the engine does.
QImage Decoded(const QString& file) {
    return file.endsWith(QLatin1String(".PCX"), Qt::CaseInsensitive)
               ? picture_tools::NetpbmPcxPixels(file)
               : picture_tools::ImageMagickPixels(file, QStringLiteral("[0]"));
}

QImage Scaled(const QImage& picture, int w, int h) {
    QImage out(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.setPixel(x, y,
                         picture.pixel(int(std::int64_t(x) * picture.width() / w),
                                       int(std::int64_t(y) * picture.height() / h)));
    return out;
}

} // namespace

Fitted Expected(const QString& file) {
    const QImage picture = Decoded(file);
    if (picture.isNull())
        return {};
    const double fx = double(kControl.width()) / picture.width();
    const double fy = double(kControl.height()) / picture.height();
    const double f = fy < fx ? fy : fx;
    const int w = int(picture.width() * f), h = int(picture.height() * f);
    return {Scaled(picture, w, h),
            kClient.topLeft() + QPoint((kControl.width() - w) / 2, (kControl.height() - h) / 2)};
}

Fitted AtZoom(const QString& file, double factor, bool centred) {
    const QImage picture = Decoded(file);
    if (picture.isNull())
        return {};
    const int w = int(picture.width() * factor), h = int(picture.height() * factor);
    QPoint at = kClient.topLeft();
    if (centred)
        at += QPoint(std::max(0, (kControl.width() - w) / 2),
                     std::max(0, (kControl.height() - h) / 2));
    return {Scaled(picture, w, h), at};
}

double LeastMismatch(const QImage& window, const Fitted& expected, int slack) {
    double least = 1;
    for (int dy = -slack; dy <= slack; ++dy)
        for (int dx = -slack; dx <= slack; ++dx)
            least =
                std::min(least, Mismatch(window, {expected.image, expected.at + QPoint(dx, dy)}));
    return least;
}

double Mismatch(const QImage& window, const Fitted& expected) {
    int off = 0, compared = 0;
    for (int y = 0; y < expected.image.height(); ++y)
        for (int x = 0; x < expected.image.width(); ++x) {
            const QPoint p = expected.at + QPoint(x, y);
            if (!kClient.contains(p) || !window.rect().contains(p))
                continue;
            const QRgb a = window.pixel(p), b = expected.image.pixel(x, y);
            ++compared;
            off += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                             std::abs(qBlue(a) - qBlue(b))}) > 48;
        }
    return compared ? double(off) / compared : 1.0;
}

} // namespace main_window_screen
