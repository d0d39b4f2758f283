// SPDX-License-Identifier: MIT
#include "imaging/engine/effects_binding.h"

#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/engine_calls.h"
#include "platform/core/dialogs.h"
#include "platform/core/paths.h"
#include "platform/core/system_folders.h"
#include "platform/memory/memory_block.h"

#include <QPainter>

namespace imaging {

EffectsBinding& EffectsBinding::Instance() {
    static EffectsBinding binding;
    return binding;
}

EffectsBinding::~EffectsBinding() {
    Unload();
}

bool EffectsBinding::Loaded() const {
    std::lock_guard hold(lock_);
    return library_ != nullptr;
}

void EffectsBinding::Unload() {
    std::lock_guard hold(lock_);
    if (library_)
        platform::FreeLibrary(library_);
    library_ = nullptr;
}

void* EffectsBinding::Function(const char* exportName) {
    std::unique_lock hold(lock_);
    if (!library_) {
        const QString name = QString::fromLatin1(LibraryName);
        const QString folder = platform::ExtractFilePath(platform::ExecutablePath());
        library_ = platform::LoadLibrary(platform::JoinPath(folder, name));
        if (!library_)
            library_ = platform::LoadLibrary(name);
        if (!library_) {
            const QString found = platform::SearchPath(
                platform::WindowsDirectory() + u';' + platform::SystemDirectory() + u';' + folder,
                name);
            if (!found.isEmpty()) {
                library_ = platform::LoadLibrary(found);
                if (!library_)
                    library_ = platform::LoadLibrary(platform::ChangeFileExt(found, QString()));
            }
        }
        if (!library_) {
            hold.unlock();
            const QString text =
                QStringLiteral("Can't load ") + name +
                QStringLiteral(". Make sure its located in the application's searchpath.");
            EngineBinding& engine = EngineBinding::Instance();
            if (engine.OnOwnerThread())
                platform::Dialogs().MessageBox(nullptr, text, QStringLiteral("Error"),
                                               platform::MB_OK | platform::MB_ICONERROR);
            else
                engine.SetLastEngineError(-1, text);
            return nullptr;
        }
    }
    return platform::GetProcAddress(library_, exportName);
}

namespace {

// Looks up, sets the status text, and calls inside the exception guard.
template <class Entry, class Result, class Call>
Result Effects(const char* exportName, const QString& status, Result failed, Call call) {
    void* entry = EffectsBinding::Instance().Function(exportName);
    if (!entry)
        return failed;
    EngineBinding::Instance().SetProgressText(status);
    try {
        const Result result = call(reinterpret_cast<Entry>(entry));
        // A failure the engine caught inside is its crash: the user hears of it.
        if (result == failed)
            if (void* caught = EffectsBinding::Instance().Function("ILCaughtException");
                caught && reinterpret_cast<IspCaughtException>(caught)() != 0)
                ShowImagingException();
        return result;
    } catch (...) {
        ShowImagingException();
        return failed;
    }
}

// The paint target the engine calls back: the picture's image stands for the DIB made of it.
struct CanvasContext {
    const TransitionCanvas* canvas;
    const QImage* image;
};

IspPaintTarget PaintTarget(CanvasContext* context) {
    IspPaintTarget target{};
    target.context = context;
    target.draw = [](void* c, HGLOBAL, const IspRect* r, std::int32_t x, std::int32_t y) {
        const auto* cc = static_cast<CanvasContext*>(c);
        if (cc->canvas->painter && r)
            cc->canvas->painter->drawImage(
                QPoint(x, y), *cc->image,
                QRect(r->left, r->top, r->right - r->left, r->bottom - r->top));
    };
    target.present = [](void* c) {
        if (const auto& present = static_cast<CanvasContext*>(c)->canvas->present)
            present();
    };
    if (context->canvas->sleep)
        target.sleep = [](void* c, std::int32_t ms) {
            static_cast<CanvasContext*>(c)->canvas->sleep(ms);
        };
    return target;
}

} // namespace

bool FXTransition(TFXMethod method, const TransitionCanvas& canvas, const TBitmap& picture,
                  int thickness, int delay) {
    if (!canvas.painter || !picture.HandleAllocated())
        return false;
    platform::MemoryBlock block;
    BitmapToDib(&picture, block.Out());
    if (!block)
        return false;
    const HGLOBAL dib = block.Get();
    CanvasContext context{&canvas, &picture.Handle()};
    IspPaintTarget paintTarget = PaintTarget(&context);
    IspPaintTarget* target = &paintTarget;
    const char* name = nullptr;
    switch (method) {
    case FXHorizontal:
        name = "FXSkipHorizontal";
        break;
    case FXVertical:
        name = "FXSkipVertical";
        break;
    case FXDiagonal:
        name = "FXSkipDiagonals";
        break;
    case FXDiagonalSquares:
        name = "FXSkipDiagonalSquares";
        break;
    case FXRectangles:
        return Effects<IspRectTransition>("FXSkipRectangles", QStringLiteral("Transition Image "),
                                          false,
                                          [&](auto f) { return f(target, dib, delay) != 0; });
    default:
        return false;
    }
    return Effects<IspBandTransition>(
        name, QStringLiteral("Transition Image "), false,
        [&](auto f) { return f(target, dib, thickness, delay) != 0; });
}

int ILInvertDib(HGLOBAL dib) {
    return Effects<IspInvert>("ILInvert", QStringLiteral("Inverting Image"), 0,
                              [&](auto f) { return static_cast<int>(f(dib)); });
}

HGLOBAL ILRotateDib(HGLOBAL dib, double angle, QRect* rect, const QColor& background,
                    const QRect& part) {
    const std::uint32_t rgb = std::uint32_t(background.red()) |
                              std::uint32_t(background.green()) << 8 |
                              std::uint32_t(background.blue()) << 16;
    return Effects<IspRotate>(
        "ILRotate", QStringLiteral("Rotating Image "), HGLOBAL{nullptr}, [&](auto f) {
            IspRect r{0, 0, 0, 0};
            if (!part.isEmpty())
                r = {part.left(), part.top(), part.right() + 1, part.bottom() + 1};
            HGLOBAL out = f(dib, angle, &r, rgb);
            if (rect)
                *rect =
                    out ? QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)) : QRect();
            return out;
        });
}

HGLOBAL ReduceDibColours(HGLOBAL dib, int depth, bool dither, void* user, ProgressCallback cb,
                         TSortDither method) {
    if (!dib)
        return nullptr;
    const int bits = DibBitCount(dib);
    HGLOBAL source = dib, copy = nullptr;
    if (bits == 32) {
        copy = ConvertDib("DIB32To24", dib);
        if (!copy)
            return nullptr;
        if (depth >= 24)
            return copy; // nothing left to reduce
        source = copy;
    }
    HGLOBAL out = Effects<IspReduce>(
        "ReduceDib", EngineBinding::Instance().ProgressText(), HGLOBAL{nullptr}, [&](auto f) {
            return f(source, static_cast<std::int16_t>(depth), dither ? 1 : 0,
                     static_cast<std::int16_t>(method), 0, 0, user, cb);
        });
    FreeDib(copy);
    return out;
}

HGLOBAL ApplyEffect(Effect effect, HGLOBAL dib, double value, int second) {
    const QString status = QStringLiteral("Applying Effect ");
    const HGLOBAL none = nullptr;
    const char* name = RowOf(effect).Export;
    switch (effect) {
    case Effect::Brightness:
        return Effects<IspBrightness>(name, status, none, [&](auto f) {
            return f(dib, static_cast<std::int32_t>(value), second);
        });
    case Effect::Gamma:
        return Effects<IspGamma>(name, status, none, [&](auto f) { return f(dib, value); });
    case Effect::Greyscale:
        return Effects<IspGrayscale>(name, status, none, [&](auto f) { return f(dib); });
    case Effect::MirrorLeftRight:
    case Effect::FlipTopBottom:
        return Effects<IspMirror>(name, status, none, [&](auto f) {
            return f(dib, effect == Effect::FlipTopBottom ? 1 : 0);
        });
    case Effect::Blur:
    case Effect::Sharpen:
        return Effects<IspFilter>(name, status, none,
                                  [&](auto f) { return f(dib, static_cast<std::int32_t>(value)); });
    }
    return none;
}

} // namespace imaging
