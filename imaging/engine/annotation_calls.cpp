// SPDX-License-Identifier: MIT
// The binding of the annotation layer: the engine's C callbacks turned into the control's
// events, and a painter handed to the engine as the canvas it draws on.
#include "imaging/engine/annotation_calls.h"

#include "engines/crde2000/crde2000.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/error_invalid.h"

#include <QImage>
#include <QPainter>

#include <cstring>
#include <map>

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

std::map<void*, AnnotationEvents>& Registered() {
    static std::map<void*, AnnotationEvents> events;
    return events;
}

const AnnotationEvents* EventsOf(void* control) {
    const auto it = Registered().find(control);
    return it == Registered().end() ? nullptr : &it->second;
}

QColor ColourOf(std::uint32_t c) {
    return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
}

QString Text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

// The painter as the engine's canvas.
CrdeAnnoCanvas CanvasOf(QPainter* painter) {
    CrdeAnnoCanvas canvas{};
    canvas.context = painter;
    canvas.polyline = [](void* c, const std::int32_t* xy, std::int32_t count, std::int32_t closed,
                         std::uint32_t colour, std::int32_t width) {
        auto* p = static_cast<QPainter*>(c);
        QPolygon line;
        for (std::int32_t i = 0; i < count; ++i)
            line << QPoint(xy[2 * i], xy[2 * i + 1]);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(QPen(ColourOf(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p->setBrush(Qt::NoBrush);
        if (closed)
            p->drawPolygon(line);
        else
            p->drawPolyline(line);
        p->restore();
    };
    canvas.shape = [](void* c, std::int32_t kind, std::int32_t l, std::int32_t t, std::int32_t r,
                      std::int32_t b, std::uint32_t colour, std::int32_t width, std::int32_t fill) {
        auto* p = static_cast<QPainter*>(c);
        const QRect area(QPoint(l, t), QPoint(r, b));
        p->save();
        if (fill == 0) {
            p->setRenderHint(QPainter::Antialiasing, kind == 1);
            p->setPen(QPen(ColourOf(colour), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p->setBrush(Qt::NoBrush);
        } else {
            p->setPen(Qt::NoPen);
            p->setBrush(ColourOf(colour));
            // A highlighter darkens like ink on paper: what was dark stays readable.
            if (fill == 2)
                p->setCompositionMode(QPainter::CompositionMode_Multiply);
        }
        if (kind == 1)
            p->drawEllipse(area);
        else
            p->drawRect(area);
        p->restore();
    };
    canvas.text = [](void* c, std::int32_t x, std::int32_t y, const char* utf8, const char* font,
                     std::int32_t pixels, std::uint32_t colour) {
        auto* p = static_cast<QPainter*>(c);
        p->save();
        QFont f(Text(font));
        f.setPixelSize(std::max(1, pixels));
        p->setFont(f);
        p->setPen(ColourOf(colour));
        p->drawText(QRect(x, y, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::AlignTop, Text(utf8));
        p->restore();
    };
    canvas.focus = [](void* c, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
        auto* p = static_cast<QPainter*>(c);
        const QRect frame(QPoint(l, t), QPoint(r, b));
        p->save();
        p->setBrush(Qt::NoBrush);
        p->setPen(QPen(Qt::white, 1));
        p->drawRect(frame);
        p->setPen(QPen(Qt::black, 1, Qt::DotLine));
        p->drawRect(frame);
        p->restore();
    };
    return canvas;
}

CrdeAnnoCallbacks Callbacks() {
    CrdeAnnoCallbacks cb{};
    cb.custom_draw = [](void* control, void* dc, const char* name, std::int32_t x, std::int32_t y,
                        std::int32_t xx, std::int32_t yy) -> std::int16_t {
        const AnnotationEvents* e = EventsOf(control);
        if (!e)
            return 0;
        if (e->customDraw && dc)
            e->customDraw(static_cast<QPainter*>(static_cast<CrdeAnnoCanvas*>(dc)->context),
                          Text(name), QRect(QPoint(x, y), QPoint(xx, yy)));
        return 1;
    };
    cb.hard_draw = [](void* control, void* bitmap, const char* name, std::int32_t x, std::int32_t y,
                      std::int32_t xx, std::int32_t yy) -> std::int16_t {
        const AnnotationEvents* e = EventsOf(control);
        if (!e)
            return 0;
        if (e->hardDraw && bitmap)
            e->hardDraw(static_cast<QPainter*>(static_cast<CrdeAnnoCanvas*>(bitmap)->context),
                        Text(name), QRect(QPoint(x, y), QPoint(xx, yy)));
        return 1;
    };
    cb.before_draw = [](void* control, std::int32_t pass, std::int16_t* canDraw,
                        const char* name) -> std::int16_t {
        const AnnotationEvents* e = EventsOf(control);
        if (!e)
            return 0;
        if (e->beforeDraw && canDraw)
            *canDraw = e->beforeDraw(pass, Text(name)) ? 1 : 0;
        return 1;
    };
    cb.after_draw = [](void* control, const char* name) -> std::int16_t {
        const AnnotationEvents* e = EventsOf(control);
        if (!e)
            return 0;
        if (e->afterDraw)
            e->afterDraw(Text(name));
        return 1;
    };
    cb.done = [](void* control) -> std::int16_t {
        const AnnotationEvents* e = EventsOf(control);
        if (!e)
            return 0;
        if (e->done)
            e->done();
        return 1;
    };
    // The window given to the engine is the control itself.
    cb.invalidate = [](void* window) {
        if (const AnnotationEvents* e = EventsOf(window); e && e->invalidate)
            e->invalidate();
    };
    cb.post_message = [](void* window, std::uint32_t message, std::intptr_t first,
                         std::intptr_t second) {
        if (const AnnotationEvents* e = EventsOf(window); e && e->post)
            e->post(message, first, second);
    };
    cb.menu = [](void* window, std::int32_t x, std::int32_t y, const CrdeAnnoMenuItem* items,
                 std::int32_t count) -> std::int32_t {
        const AnnotationEvents* e = EventsOf(window);
        if (!e || !e->menu)
            return 0;
        QList<AnnotationMenuItem> list;
        for (std::int32_t i = 0; i < count; ++i)
            list.push_back({items[i].id, Text(items[i].text), items[i].checked != 0});
        return e->menu(QPoint(x, y), list);
    };
    cb.ask_text = [](void* window, char* buffer, std::int32_t size) -> std::int32_t {
        const AnnotationEvents* e = EventsOf(window);
        if (!e || !e->askText || size < 2)
            return 0;
        const std::optional<QString> text = e->askText();
        if (!text || text->isEmpty())
            return 0;
        // Cut on a character boundary so the engine gets valid UTF-8.
        QString cut = *text;
        QByteArray bytes = cut.toUtf8();
        while (bytes.size() > size - 1) {
            cut.chop(1);
            bytes = cut.toUtf8();
        }
        std::memcpy(buffer, bytes.constData(), std::size_t(bytes.size()));
        buffer[bytes.size()] = 0;
        return 1;
    };
    return cb;
}

} // namespace

void InitAnnotation(void* control, AnnotationEvents events, const QString& settingsFile) {
    static const CrdeAnnoCallbacks callbacks = Callbacks();
    auto init = reinterpret_cast<CrdeInitAnnotation>(AnnotationExport("InitAnnotation"));
    Registered()[control] = std::move(events);
    const QByteArray file = settingsFile.toLocal8Bit();
    init(control, control, control, &callbacks, file.constData());
}
void DestroyAnnotation(void* control) {
    Registered().erase(control);
    Call<CrdeAnnotationOf>("DestroyAnnotation", nullptr, control);
}
void DrawAnnotation(void* control, QPainter& painter, double zoom, int originX, int originY,
                    std::int16_t offsetX, std::int16_t offsetY, int scrollBarWidth) {
    CrdeAnnoCanvas canvas = CanvasOf(&painter);
    Call<CrdeDrawAnnotation>("DrawAnnotation", nullptr, control, zoom, originX, originY, offsetX,
                             offsetY, scrollBarWidth, &canvas);
}
void HardDrawAnnotation(void* control, QImage* bitmap) {
    if (!bitmap || bitmap->isNull())
        return;
    if (bitmap->format() != QImage::Format_RGB32 && bitmap->format() != QImage::Format_ARGB32)
        *bitmap = bitmap->convertToFormat(QImage::Format_RGB32);
    QPainter painter(bitmap);
    CrdeAnnoCanvas canvas = CanvasOf(&painter);
    Call<CrdeHardDrawAnnotation>("HardDrawAnnotation", nullptr, control, &canvas);
}
int IsAnnotation(void* control) {
    return Call<CrdeIsAnnotation>("IsAnnotation", "ILIsAnnotation", control);
}
void MouseMon(void* control, unsigned message, std::uint32_t packedXY) {
    Call<CrdeMouseMon>("MouseMon", nullptr, control, message, 0, packedXY);
}
void MenuMsg(void* control, int commandId) {
    Call<CrdeMenuMsg>("MenuMsg", nullptr, control, commandId);
}
void ClearAnnotation(void* control) {
    Call<CrdeAnnotationOf>("ClearAnnotation", nullptr, control);
}
void RubberBandOFF(void* control) {
    Call<CrdeAnnotationOf>("RubberBandOFF", nullptr, control);
}
int RemoveAnnotation(void* control) {
    return Call<CrdeRemoveAnnotation>("RemoveAnnotation", nullptr, control);
}

} // namespace imaging
