// SPDX-License-Identifier: MIT
#include "platform/ui/readable_colours.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

double Luminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void KeepFixedTextReadable(QPalette& palette, QPalette::ColorRole text,
                           std::initializer_list<QPalette::ColorRole> backgrounds) {
    bool readable = true;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole role : backgrounds)
            readable = readable && Contrast(palette.color(group, text),
                                            palette.color(group, role)) >= kReadableContrast;
    if (readable)
        return;
    // The whole of the control goes light, so what it holds (whose texts follow the fixed
    // one or the palette) reads as under a light desktop.
    QPalette light = QApplication::style()->standardPalette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        light.setColor(group, text, palette.color(group, text));
    palette = light;
}

QColor ReadableTextOn(const QColor& background, const QColor& desktopText) {
    if (Contrast(background, desktopText) >= kReadableContrast)
        return desktopText;
    const QColor black(Qt::black), white(Qt::white);
    return Contrast(background, black) >= Contrast(background, white) ? black : white;
}

} // namespace platform
