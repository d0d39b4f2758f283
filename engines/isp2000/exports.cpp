// SPDX-License-Identifier: MIT
// The effects engine's entry points. Nothing escapes as an exception: a failure is the
// entry's failure result, and ILCaughtException tells the calling thread whether its last
// call failed by a fault caught inside rather than by refusing its input.
#include "engines/isp2000/effects.h"
#include "engines/isp2000/filters.h"
#include "engines/isp2000/isp2000.h"
#include "engines/isp2000/transitions.h"
#include "engines/shared/dib_block.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#define ISP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The threads whose last call into the engine ended in an exception caught here. A set under
// a lock rather than a thread-local flag: the module is loaded at run time, and its dynamic
// thread-local storage trips the leak checker's thread walk.
struct CaughtThreads {
    std::mutex lock;
    std::set<std::thread::id> ids;
    void Mark(bool caught) {
        const std::lock_guard<std::mutex> hold(lock);
        if (caught)
            ids.insert(std::this_thread::get_id());
        else
            ids.erase(std::this_thread::get_id());
    }
    bool Marked() {
        const std::lock_guard<std::mutex> hold(lock);
        return ids.count(std::this_thread::get_id()) != 0;
    }
};
CaughtThreads& Caught() {
    static CaughtThreads threads; // goes with the module
    return threads;
}

// Runs an entry's work; an exception becomes the entry's failure result.
template <class Result, class Call> Result Guarded(Result failed, Call call) {
    Caught().Mark(false);
    try {
        return call();
    } catch (...) {
        Caught().Mark(true);
        return failed;
    }
}

std::int32_t Run(IspPaintTarget* dc, HGLOBAL dib, isp::Transition kind, int thickness, int delay) {
    return Guarded<std::int32_t>(0, [&]() -> std::int32_t {
        if (!dc || !dc->draw)
            return 0;
        int width = 0, height = 0;
        {
            const engine::DibView view(dib);
            if (!view.Valid())
                return 0;
            width = static_cast<int>(view.Width());
            height = static_cast<int>(view.Height());
        }
        const int wait = std::clamp(delay, 0, 1000);
        isp::TransitionSteps(
            kind, width, height, thickness, [&](const std::vector<isp::Cell>& cells) {
                for (const isp::Cell& c : cells) {
                    const IspRect source{c.x, c.y, c.x + c.width, c.y + c.height};
                    dc->draw(dc->context, dib, &source, c.x, c.y);
                }
                if (dc->present)
                    dc->present(dc->context);
                if (wait > 0) {
                    if (dc->sleep)
                        dc->sleep(dc->context, wait);
                    else
                        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
                }
            });
        return 1;
    });
}

} // namespace

ISP_EXPORT std::int32_t FXSkipHorizontal(IspPaintTarget* dc, HGLOBAL dib, std::int32_t thickness,
                                         std::int32_t delay) {
    return Run(dc, dib, isp::Transition::Horizontal, thickness, delay);
}
ISP_EXPORT std::int32_t FXSkipVertical(IspPaintTarget* dc, HGLOBAL dib, std::int32_t thickness,
                                       std::int32_t delay) {
    return Run(dc, dib, isp::Transition::Vertical, thickness, delay);
}
ISP_EXPORT std::int32_t FXSkipDiagonals(IspPaintTarget* dc, HGLOBAL dib, std::int32_t thickness,
                                        std::int32_t delay) {
    return Run(dc, dib, isp::Transition::Diagonals, thickness, delay);
}
ISP_EXPORT std::int32_t FXSkipDiagonalSquares(IspPaintTarget* dc, HGLOBAL dib,
                                              std::int32_t thickness, std::int32_t delay) {
    return Run(dc, dib, isp::Transition::DiagonalSquares, thickness, delay);
}
ISP_EXPORT std::int32_t FXSkipRectangles(IspPaintTarget* dc, HGLOBAL dib, std::int32_t delay) {
    return Run(dc, dib, isp::Transition::Rectangles, 1, delay);
}

ISP_EXPORT std::int32_t ILCaughtException() {
    return Caught().Marked() ? 1 : 0;
}

ISP_EXPORT std::int32_t ILInvert(HGLOBAL dib) {
    return Guarded<std::int32_t>(0, [&] { return isp::Invert(dib) ? 1 : 0; });
}

ISP_EXPORT HGLOBAL ILRotate(HGLOBAL dib, double angle, IspRect* rect, std::uint32_t background) {
    return Guarded<HGLOBAL>(nullptr, [&]() -> HGLOBAL {
        // A rectangle with an area chooses the part of the picture that is turned; one that
        // holds the whole picture turns it without a copy.
        struct Part {
            HGLOBAL block = nullptr;
            ~Part() { GlobalFree(block); }
        } part;
        if (rect && rect->right > rect->left && rect->bottom > rect->top) {
            const engine::DibView view(dib);
            const bool whole = view.Valid() && rect->left <= 0 && rect->top <= 0 &&
                               rect->right >= view.Width() && rect->bottom >= view.Height();
            if (!whole) {
                part.block = isp::Crop(dib, rect->left, rect->top, rect->right, rect->bottom);
                if (!part.block)
                    return nullptr;
            }
        }
        int w = 0, h = 0;
        HGLOBAL out = isp::Rotate(part.block ? part.block : dib, angle, background, &w, &h);
        if (out && rect)
            *rect = IspRect{0, 0, w, h};
        return out;
    });
}

ISP_EXPORT HGLOBAL ReduceDib(HGLOBAL dib, std::int16_t depth, std::int16_t dither,
                             std::int16_t method, std::int32_t, std::int16_t, void* user,
                             IspProgress cb) {
    return Guarded<HGLOBAL>(nullptr, [&] {
        const colour::Method how = method >= 0 && method <= 3 ? static_cast<colour::Method>(method)
                                                              : colour::Method::Bayer;
        colour::Progress progress;
        if (cb)
            progress = [cb, user](int percent) {
                return cb(static_cast<std::int16_t>(percent), user) != 0;
            };
        return isp::Reduce(dib, depth, dither != 0, how, progress);
    });
}

ISP_EXPORT HGLOBAL ILBrightness(HGLOBAL dib, std::int32_t brightness, std::int32_t contrast) {
    return Guarded<HGLOBAL>(nullptr, [&] { return isp::Adjust(dib, brightness, contrast, 1.0); });
}
ISP_EXPORT HGLOBAL ILGamma(HGLOBAL dib, double gamma) {
    return Guarded<HGLOBAL>(nullptr, [&] { return isp::Adjust(dib, 0, 0, gamma); });
}
ISP_EXPORT HGLOBAL ILGrayscale(HGLOBAL dib) {
    return Guarded<HGLOBAL>(nullptr, [&] { return isp::Greyscale(dib); });
}
ISP_EXPORT HGLOBAL ILMirror(HGLOBAL dib, std::int16_t vertical) {
    return Guarded<HGLOBAL>(nullptr, [&] { return isp::Mirror(dib, vertical != 0); });
}
ISP_EXPORT HGLOBAL Blur(HGLOBAL dib, std::int32_t radius) {
    return Guarded<HGLOBAL>(nullptr, [&] { return isp::Blur(dib, radius); });
}
ISP_EXPORT HGLOBAL Sharpen(HGLOBAL dib, std::int32_t amount) {
    return Guarded<HGLOBAL>(nullptr, [&] { return isp::Sharpen(dib, amount); });
}
