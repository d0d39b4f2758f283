// SPDX-License-Identifier: MIT
// The effects engine's entry points. Nothing escapes as an exception: a failure is the
// entry's failure result.
#include "engines/isp2000/effects.h"
#include "engines/isp2000/isp2000.h"
#include "engines/isp2000/transitions.h"

#include <QImage>
#include <QPainter>

#include <chrono>
#include <thread>

#define ISP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::int32_t Run(IspPaintTarget* dc, const QImage* bitmap, isp::Transition kind, int thickness,
                 int delay) {
    try {
        if (!dc || !dc->painter || !bitmap || bitmap->isNull())
            return 0;
        isp::TransitionSteps(kind, bitmap->size(), thickness, [&](const QVector<QRect>& rects) {
            for (const QRect& r : rects)
                dc->painter->drawImage(r.topLeft(), *bitmap, r);
            if (dc->present)
                dc->present(dc->context);
            if (delay > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(std::min(delay, 1000)));
        });
        return 1;
    } catch (...) {
        return 0;
    }
}

} // namespace

ISP_EXPORT std::int32_t FXSkipHorizontal(IspPaintTarget* dc, const QImage* bitmap,
                                         std::int32_t thickness, std::int32_t delay) {
    return Run(dc, bitmap, isp::Transition::Horizontal, thickness, delay);
}
ISP_EXPORT std::int32_t FXSkipVertical(IspPaintTarget* dc, const QImage* bitmap,
                                       std::int32_t thickness, std::int32_t delay) {
    return Run(dc, bitmap, isp::Transition::Vertical, thickness, delay);
}
ISP_EXPORT std::int32_t FXSkipDiagonals(IspPaintTarget* dc, const QImage* bitmap,
                                        std::int32_t thickness, std::int32_t delay) {
    return Run(dc, bitmap, isp::Transition::Diagonals, thickness, delay);
}
ISP_EXPORT std::int32_t FXSkipDiagonalSquares(IspPaintTarget* dc, const QImage* bitmap,
                                              std::int32_t thickness, std::int32_t delay) {
    return Run(dc, bitmap, isp::Transition::DiagonalSquares, thickness, delay);
}
ISP_EXPORT std::int32_t FXSkipRectangles(IspPaintTarget* dc, const QImage* bitmap,
                                         std::int32_t delay) {
    return Run(dc, bitmap, isp::Transition::Rectangles, 1, delay);
}

ISP_EXPORT std::int32_t ILInvert(HGLOBAL dib) {
    try {
        return isp::Invert(dib) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

ISP_EXPORT HGLOBAL ILRotate(HGLOBAL dib, double angle, IspRect* rect, std::uint32_t background) {
    try {
        int w = 0, h = 0;
        HGLOBAL out = isp::Rotate(dib, angle, background, &w, &h);
        if (out && rect)
            *rect = IspRect{0, 0, w, h};
        return out;
    } catch (...) {
        return nullptr;
    }
}

ISP_EXPORT HGLOBAL ReduceDib(HGLOBAL dib, std::int16_t depth, std::int16_t dither,
                             std::int16_t method, std::int32_t, std::int16_t, void* user,
                             IspProgress cb) {
    try {
        const colour::Method how = method >= 0 && method <= 3 ? static_cast<colour::Method>(method)
                                                              : colour::Method::Bayer;
        colour::Progress progress;
        if (cb)
            progress = [cb, user](int percent) {
                return cb(static_cast<std::int16_t>(percent), user) != 0;
            };
        return isp::Reduce(dib, depth, dither != 0, how, progress);
    } catch (...) {
        return nullptr;
    }
}
