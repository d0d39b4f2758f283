// SPDX-License-Identifier: MIT
#pragma once

// Where things lie in the real program's 640 x 480 main window, and the picture a record's
// file should make in its image view, for the end-to-end tests.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace main_window_screen {

/// The image view's outer size (the fit uses it) and its client area, in the window.
inline constexpr QSize kControl(417, 340);
inline constexpr QRect kClient(221, 138, 415, 338);

/// The centre of the image toolbar's visible button `index` (pan/zoom, zoom in, zoom out,
/// best fit, centre), in the window.
inline QPoint ToolbarButton(int index) {
    return {218 + 83 * index + 41, 114};
}

/// The file decoded by ImageMagick (netpbm for PCX, the first page of a TIFF) and fitted as the
/// view fits it: the factor the smaller of the two ratios, each target pixel taking the source
/// pixel it starts on, centred.
struct Fitted {
    QImage image;
    QPoint at; // in the window
};
Fitted Expected(const QString& file);
/// The file at a zoom factor: each target pixel takes the source pixel it starts on; centred in
/// the control when it is smaller than it and `centred`, else at the client area's top left.
Fitted AtZoom(const QString& file, double factor, bool centred);
/// The least Mismatch of the expected picture moved by up to `slack` pixels either way.
double LeastMismatch(const QImage& window, const Fitted& expected, int slack);

/// The share of the fitted picture's pixels that the window's image shows clearly otherwise.
double Mismatch(const QImage& window, const Fitted& expected);

} // namespace main_window_screen
