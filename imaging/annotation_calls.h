// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>

class QImage;

namespace imaging {

/// The callbacks an annotation layer calls back into its image control.
struct AnnotationCallbacks {
    void (*Changed)(void* control) = nullptr;
    void (*Selected)(void* control) = nullptr;
    void (*Deleted)(void* control) = nullptr;
    void (*Moved)(void* control) = nullptr;
    void (*Menu)(void* control, int x, int y) = nullptr;
};

/// The annotation layer's entry points. They are called without the exception guard and
/// without a result check; a missing export raises ErrorInvalid "Error. Could not get a
/// procaddress for NAME. ..." (the engine of this build has no annotation layer yet).
void* AnnotationExport(const char* exportName, const char* nameInText = nullptr);

void InitAnnotation(void* control, void* window, const AnnotationCallbacks& callbacks,
                    const QString& settingsFile);
void DestroyAnnotation(void* control);
void DrawAnnotation(void* control, double zoom, int originX, int originY, std::int16_t offsetX,
                    std::int16_t offsetY, int scrollBarWidth);
void DrawAnnotationWholeDC(void* control, void* paintTarget);
void HardDrawAnnotation(void* control, QImage* bitmap);
int IsAnnotation(void* control);
void MouseMon(void* control, unsigned message, std::uint32_t packedXY);
void MenuMsg(void* control, int commandId);
void ClearAnnotation(void* control);
void RubberBandOFF(void* control);
int LoadAnnotation(void* control, const QString& fileName);
int SaveAnnotation(void* control, const QString& fileName);
int StreamLoadAnnotation(void* control, const void* data, std::int32_t size);
int StreamSaveAnnotation(void* control, void* buffer, std::int32_t* size);
int RemoveAnnotation(void* control);

} // namespace imaging
