// SPDX-License-Identifier: MIT
// The imaging engine's annotation layer: one layer per control. The calls come without a
// guard from the binding, so nothing may escape them.
#include "engines/crde2000/annotation_layer.h"
#include "engines/crde2000/exports_support.h"

using namespace crde;

namespace {

template <class F> void Quietly(F f) {
    try {
        f();
    } catch (...) {
    }
}

} // namespace

CRDE_EXPORT void InitAnnotation(void* control, void* window, void*,
                                const CrdeAnnoCallbacks* callbacks, const char* settings) {
    Quietly([&] { InitLayer(control, window, callbacks, settings); });
}

CRDE_EXPORT void DestroyAnnotation(void* control) {
    Quietly([&] { DestroyLayer(control); });
}

CRDE_EXPORT void DrawAnnotation(void* control, double zoom, std::int32_t originX,
                                std::int32_t originY, std::int16_t offsetX, std::int16_t offsetY,
                                std::int32_t, CrdeAnnoCanvas* canvas) {
    Quietly([&] {
        if (AnnotationLayer* layer = LayerOf(control))
            layer->Draw(zoom, originX, originY, offsetX, offsetY, canvas);
    });
}

CRDE_EXPORT void HardDrawAnnotation(void* control, CrdeAnnoCanvas* bitmap) {
    Quietly([&] {
        if (AnnotationLayer* layer = LayerOf(control))
            layer->HardDraw(bitmap);
    });
}

CRDE_EXPORT std::int16_t IsAnnotation(void* control) {
    try {
        const AnnotationLayer* layer = LayerOf(control);
        return static_cast<std::int16_t>(layer ? std::min(layer->Count(), 32767) : 0);
    } catch (...) {
        return 0;
    }
}

CRDE_EXPORT void MouseMon(void* control, std::uint32_t message, std::int32_t,
                          std::uint32_t packedXY) {
    Quietly([&] {
        if (AnnotationLayer* layer = LayerOf(control))
            layer->Mouse(message, static_cast<std::int16_t>(packedXY & 0xFFFF),
                         static_cast<std::int16_t>(packedXY >> 16));
    });
}

CRDE_EXPORT void MenuMsg(void* control, std::int32_t command) {
    Quietly([&] {
        if (AnnotationLayer* layer = LayerOf(control))
            layer->Command(command);
    });
}

CRDE_EXPORT void RubberBandOFF(void* control) {
    Quietly([&] {
        if (AnnotationLayer* layer = LayerOf(control))
            layer->RubberBandOff();
    });
}

CRDE_EXPORT void ClearAnnotation(void* control) {
    Quietly([&] {
        if (AnnotationLayer* layer = LayerOf(control))
            layer->Clear();
    });
}

CRDE_EXPORT std::int16_t RemoveAnnotation(void* control) {
    try {
        AnnotationLayer* layer = LayerOf(control);
        return layer && layer->RemoveSelected() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
