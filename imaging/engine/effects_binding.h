// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/engine/effect_table.h"

#include "engines/isp2000/isp2000.h"
#include "imaging/bitmap.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/image_types.h"

#include <QColor>
#include <QRect>

#include <functional>
#include <mutex>

class QPainter;

namespace imaging {

/// The one holder of the effects engine: loaded on the first call and kept until the end.
class EffectsBinding {
public:
    static constexpr const char* LibraryName = "ISP2000.DLL";
    static EffectsBinding& Instance();

    /// Loads the library when needed (a message when it cannot be found: on the engine
    /// binding's owner thread a window, elsewhere the call's error) and looks the export up;
    /// null when either fails. Any thread; loading is serialised.
    void* Function(const char* exportName);
    bool Loaded() const;
    /// The owner's, while no other thread calls the library.
    void Unload();

private:
    EffectsBinding() = default;
    ~EffectsBinding();
    mutable std::mutex lock_;
    platform::HMODULE library_ = nullptr;
};

/// Where a transition paints: a painter on the control's surface, the call that puts what was
/// painted on the screen, and the wait between steps (none: the engine waits itself).
struct TransitionCanvas {
    QPainter* painter = nullptr;
    std::function<void()> present;
    std::function<void(int milliseconds)> sleep;
};

/// Paints the picture onto the canvas in the transition's bands: the engine gets the picture
/// as a DIB and asks for each of its rectangles in turn. False when the engine is missing or
/// failed.
bool FXTransition(TFXMethod method, const TransitionCanvas& canvas, const TBitmap& picture,
                  int thickness, int delay);
/// Inverts the DIB in place; the engine's result (1 success).
int ILInvertDib(HGLOBAL dib);
/// A new DIB turned by the angle with the background colour: of the part of the picture in
/// `part` when it is not empty, else of all of it; `rect` gets the new picture's rectangle.
HGLOBAL ILRotateDib(HGLOBAL dib, double angle, QRect* rect, const QColor& background,
                    const QRect& part = {});
/// A new DIB at `depth` bits through the effects engine's reducer, with the dither method
/// (0 Bayer, 1 Burkes, 2 Floyd-Steinberg, 3 greyscale); a 32-bit DIB goes through the imaging
/// engine's DIB32To24 first. None on failure.
HGLOBAL ReduceDibColours(HGLOBAL dib, int depth, bool dither, void* user, ProgressCallback cb,
                         TSortDither method = IL_BAYER);

/// Runs the effect with its value: brightness and contrast for `Brightness`
/// (`value`, `second`), gamma, blur radius or sharpening percent; the others take none.
HGLOBAL ApplyEffect(Effect effect, HGLOBAL dib, double value = 0, int second = 0);

} // namespace imaging
