// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QImage;
class QPainter;

namespace imaging {

/// An entry of the annotation layer's pop-up menu; id 0 is a separator.
struct AnnotationMenuItem {
    int id = 0;
    QString text;
    bool checked = false;
};

/// What the annotation layer asks of its control: the five callbacks of the control (raised
/// as its events) and the window's part (repaint, messages, the pop-up menu, a text).
struct AnnotationEvents {
    /// Before an object is drawn (pass 0 on the window, 1 into a bitmap): false skips it.
    std::function<bool(int passCode, const QString& name)> beforeDraw;
    std::function<void(const QString& name)> afterDraw;
    std::function<void()> done;
    std::function<void(QPainter* target, const QString& name, const QRect& rect)> customDraw;
    std::function<void(QPainter* target, const QString& name, const QRect& rect)> hardDraw;
    std::function<void()> invalidate;
    std::function<void(unsigned message, std::intptr_t first, std::intptr_t second)> post;
    /// The id chosen from the menu at a client position, 0 for none.
    std::function<int(QPoint at, const QList<AnnotationMenuItem>& items)> menu;
    std::function<std::optional<QString>()> askText;
};

/// The annotation layer's entry points. They are called without the exception guard and
/// without a result check; a missing export raises ErrorInvalid "Error. Could not get a
/// procaddress for NAME. ...".
void* AnnotationExport(const char* exportName, const char* nameInText = nullptr);

/// Binds the layer of a control; the events stay registered until DestroyAnnotation.
void InitAnnotation(void* control, AnnotationEvents events, const QString& settingsFile);
void DestroyAnnotation(void* control);
/// Lets the layer draw its objects with the painter of the control's paint.
void DrawAnnotation(void* control, QPainter& painter, double zoom, int originX, int originY,
                    std::int16_t offsetX, std::int16_t offsetY, int scrollBarWidth);
/// Burns the objects into the bitmap, one pixel a picture pixel.
void HardDrawAnnotation(void* control, QImage* bitmap);
int IsAnnotation(void* control);
void MouseMon(void* control, unsigned message, std::uint32_t packedXY);
void MenuMsg(void* control, int commandId);
void ClearAnnotation(void* control);
void RubberBandOFF(void* control);
int RemoveAnnotation(void* control);

} // namespace imaging
