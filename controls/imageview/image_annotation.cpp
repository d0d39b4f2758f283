// SPDX-License-Identifier: MIT
// The view's annotation layer: bound at the end of loading when the engine has one, its
// callbacks raised as the view's events, its menu and text questions asked over the view.
#include "controls/imageview/db_multi_image.h"

#include "imaging/engine/annotation_calls.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/error_invalid.h"
#include "platform/core/dialogs.h"
#include "platform/core/error_reporter.h"

#include <QMenu>

namespace controls {

void TPDBMultiImage::BindAnnotation() {
    // The program binds the layer when the engine has one; without it the view shows
    // pictures as before and only an explicit annotation command reports the missing export.
    void* entry = nullptr;
    try {
        if (!imaging::EngineBinding::Instance().LoadEngineFunction(
                QString::fromLatin1(imaging::EngineBinding::LibraryName), "InitAnnotation", &entry))
            return;
    } catch (const imaging::ErrorInvalid&) {
        return; // no engine at all: the first picture reports that
    }
    imaging::AnnotationEvents events;
    events.beforeDraw = [this](int passCode, const QString& name) {
        bool canDraw = true;
        if (OnBeforeAnnotationDraw)
            OnBeforeAnnotationDraw(this, passCode, canDraw, name);
        return canDraw;
    };
    events.afterDraw = [this](const QString& name) {
        if (OnAfterAnnotationDraw)
            OnAfterAnnotationDraw(this, name);
    };
    events.done = [this] {
        if (OnAnnoDone)
            OnAnnoDone(this);
        platform::PostMessage(AnnotationWindow, kAnnotationDoneMessage, 0,
                              reinterpret_cast<std::intptr_t>(this));
    };
    events.customDraw = [this](QPainter* target, const QString& name, const QRect& r) {
        if (OnCustomAnnotationDraw)
            OnCustomAnnotationDraw(this, target, name, r.left(), r.top(), r.right(), r.bottom());
    };
    events.hardDraw = [this](QPainter* target, const QString& name, const QRect& r) {
        if (OnCustomAnnotationHardDraw)
            OnCustomAnnotationHardDraw(this, target, name, r.left(), r.top(), r.right(),
                                       r.bottom());
    };
    events.invalidate = [this] { update(); };
    events.post = [this](unsigned message, std::intptr_t first, std::intptr_t second) {
        platform::PostMessage(this, message, first, second);
    };
    events.menu = [this](QPoint at, const QList<imaging::AnnotationMenuItem>& items) {
        QMenu menu(this);
        for (const imaging::AnnotationMenuItem& item : items) {
            if (item.id == 0) {
                menu.addSeparator();
                continue;
            }
            QAction* action = menu.addAction(item.text);
            action->setData(item.id);
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
        }
        const QAction* chosen = menu.exec(mapToGlobal(at + contentsRect().topLeft()));
        return chosen ? chosen->data().toInt() : 0;
    };
    events.askText = [this]() {
        return platform::Dialogs().PromptText(this, QStringLiteral("Annotation"),
                                              QStringLiteral("&Text:"), false);
    };
    imaging::InitAnnotation(this, std::move(events), imaging::AnnotationIniPath());
    annotationBound_ = true;
}

} // namespace controls
