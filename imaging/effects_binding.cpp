// SPDX-License-Identifier: MIT
#include "imaging/effects_binding.h"

#include "imaging/dib.h"
#include "imaging/engine_calls.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/system_folders.h"

namespace imaging {

EffectsBinding& EffectsBinding::Instance() {
    static EffectsBinding binding;
    return binding;
}

EffectsBinding::~EffectsBinding() {
    Unload();
}

void EffectsBinding::Unload() {
    if (library_)
        platform::FreeLibrary(library_);
    library_ = nullptr;
}

void* EffectsBinding::Function(const char* exportName) {
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
            platform::Dialogs().MessageBox(
                nullptr,
                QStringLiteral("Can't load ") + name +
                    QStringLiteral(". Make sure its located in the application's searchpath."),
                QStringLiteral("Error"), platform::MB_OK | platform::MB_ICONERROR);
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
        return call(reinterpret_cast<Entry>(entry));
    } catch (...) {
        ShowImagingException();
        return failed;
    }
}

} // namespace

bool FXTransition(TFXMethod method, IspPaintTarget* target, const QImage& bitmap, int thickness,
                  int delay) {
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
                                          [&](auto f) { return f(target, &bitmap, delay) != 0; });
    default:
        return false;
    }
    return Effects<IspBandTransition>(
        name, QStringLiteral("Transition Image "), false,
        [&](auto f) { return f(target, &bitmap, thickness, delay) != 0; });
}

int ILInvertDib(HGLOBAL dib) {
    return Effects<IspInvert>("ILInvert", QStringLiteral("Inverting Image"), 0,
                              [&](auto f) { return static_cast<int>(f(dib)); });
}

HGLOBAL ILRotateDib(HGLOBAL dib, double angle, QRect* rect, const QColor& background) {
    const std::uint32_t rgb = std::uint32_t(background.red()) |
                              std::uint32_t(background.green()) << 8 |
                              std::uint32_t(background.blue()) << 16;
    return Effects<IspRotate>(
        "ILRotate", QStringLiteral("Rotating Image "), HGLOBAL{nullptr}, [&](auto f) {
            IspRect r{0, 0, 0, 0};
            HGLOBAL out = f(dib, angle, &r, rgb);
            if (rect)
                *rect = QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
            return out;
        });
}

HGLOBAL ReduceDibColors(HGLOBAL dib, int depth, bool dither, void* user, ProgressCallback cb,
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

} // namespace imaging
