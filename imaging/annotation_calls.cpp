// SPDX-License-Identifier: MIT
#include "imaging/annotation_calls.h"

#include "imaging/engine_binding.h"
#include "imaging/error_invalid.h"

namespace imaging {

void* AnnotationExport(const char* exportName, const char* nameInText) {
    void* entry = nullptr;
    if (EngineBinding::Instance().LoadEngineFunction(
            QString::fromLatin1(EngineBinding::LibraryName), exportName, &entry))
        return entry;
    throw ErrorInvalid(QStringLiteral("Error. Could not get a procaddress for ") +
                       QString::fromLatin1(nameInText ? nameInText : exportName) +
                       QStringLiteral(". This could be") +
                       QStringLiteral("related to a dll name or version missmatch of ") +
                       QString::fromLatin1(EngineBinding::LibraryName));
}

namespace {

template <class Fn, class... Args>
auto Call(const char* name, const char* nameInText, Args... args) {
    return reinterpret_cast<Fn>(AnnotationExport(name, nameInText))(args...);
}

using Cb = const AnnotationCallbacks*;

} // namespace

void InitAnnotation(void* control, void* window, const AnnotationCallbacks& callbacks,
                    const QString& settingsFile) {
    const QByteArray file = settingsFile.toLocal8Bit();
    Call<void (*)(void*, void*, void*, Cb, const char*)>("InitAnnotation", nullptr, control, window,
                                                         control, &callbacks, file.constData());
}
void DestroyAnnotation(void* control) {
    Call<void (*)(void*)>("DestroyAnnotation", nullptr, control);
}
void DrawAnnotation(void* control, double zoom, int originX, int originY, std::int16_t offsetX,
                    std::int16_t offsetY, int scrollBarWidth) {
    Call<void (*)(void*, double, int, int, std::int16_t, std::int16_t, int, std::int16_t)>(
        "DrawAnnotation", nullptr, control, zoom, originX, originY, offsetX, offsetY,
        scrollBarWidth, std::int16_t(0));
}
void DrawAnnotationWholeDC(void* control, void* paintTarget) {
    Call<void (*)(void*, void*)>("DrawAnnotationWholeDC", nullptr, control, paintTarget);
}
void HardDrawAnnotation(void* control, QImage* bitmap) {
    Call<void (*)(void*, QImage*)>("HardDrawAnnotation", nullptr, control, bitmap);
}
int IsAnnotation(void* control) {
    return Call<int (*)(void*)>("IsAnnotation", "ILIsAnnotation", control);
}
void MouseMon(void* control, unsigned message, std::uint32_t packedXY) {
    Call<void (*)(void*, unsigned, int, std::uint32_t)>("MouseMon", nullptr, control, message, 0,
                                                        packedXY);
}
void MenuMsg(void* control, int commandId) {
    Call<void (*)(void*, int)>("MenuMsg", nullptr, control, commandId);
}
void ClearAnnotation(void* control) {
    Call<void (*)(void*)>("ClearAnnotation", nullptr, control);
}
void RubberBandOFF(void* control) {
    Call<void (*)(void*)>("RubberBandOFF", nullptr, control);
}
int LoadAnnotation(void* control, const QString& fileName) {
    const QByteArray file = fileName.toLocal8Bit();
    return Call<int (*)(void*, const char*)>("LoadAnnotation", nullptr, control, file.constData());
}
int SaveAnnotation(void* control, const QString& fileName) {
    const QByteArray file = fileName.toLocal8Bit();
    return Call<int (*)(void*, const char*)>("SaveAnnotation", nullptr, control, file.constData());
}
int StreamLoadAnnotation(void* control, const void* data, std::int32_t size) {
    return Call<int (*)(void*, const void*, std::int32_t)>("StreamLoadAnnotation", nullptr, control,
                                                           data, size);
}
int StreamSaveAnnotation(void* control, void* buffer, std::int32_t* size) {
    return Call<int (*)(void*, void*, std::int32_t*)>("StreamSaveAnnotation", nullptr, control,
                                                      buffer, size);
}
int RemoveAnnotation(void* control) {
    return Call<int (*)(void*)>("RemoveAnnotation", nullptr, control);
}

} // namespace imaging
