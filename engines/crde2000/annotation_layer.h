// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/annotation_settings.h"
#include "engines/crde2000/crde2000.h"

#include <optional>
#include <string>
#include <vector>

namespace crde {

enum class AnnoKind { Rectangle, Highlight, Ellipse, Line, Arrow, Freehand, Text };

struct AnnoPoint {
    int x = 0, y = 0;
};

/// One annotation, in picture pixels: two corners (or ends) for shapes and lines, every
/// point for freehand, the top left for text.
struct AnnoObject {
    int id = 0;
    AnnoKind kind = AnnoKind::Rectangle;
    std::vector<AnnoPoint> points;
    std::string text;
    std::uint32_t colour = 0;
    int width = 1;
    std::string font;
    int fontSize = 12;
    std::string name;

    /// Left, top, right, bottom around the object (text: an estimate from its size).
    void Bounds(int& left, int& top, int& right, int& bottom) const;
};

/// The annotations of one control and their editing: a tool chosen by command, objects
/// drawn, selected, moved and deleted with the mouse, drawn through the host's canvas.
class AnnotationLayer {
public:
    AnnotationLayer(void* control, void* window, const CrdeAnnoCallbacks& callbacks,
                    AnnotationSettings settings);

    /// Draws the objects over the shown picture; the view values are kept for the mouse.
    void Draw(double zoom, int originX, int originY, int offsetX, int offsetY,
              CrdeAnnoCanvas* canvas);
    /// Draws the objects onto a bitmap of the picture, one pixel a picture pixel.
    void HardDraw(CrdeAnnoCanvas* canvas);
    int Count() const { return int(objects_.size()); }
    /// A window mouse message at a client position.
    void Mouse(std::uint32_t message, int x, int y);
    void Command(int id);
    /// Ends a shape being drawn or an object being moved.
    void RubberBandOff();
    void Clear();
    bool RemoveSelected();
    const std::vector<AnnoObject>& Objects() const { return objects_; }

private:
    struct View {
        double zoom = 1;
        int originX = 0, originY = 0, offsetX = 0, offsetY = 0;
        int X(int px) const;
        int Y(int py) const;
        AnnoPoint ToPicture(int x, int y) const;
    };
    void DrawObject(const AnnoObject& o, const View& view, CrdeAnnoCanvas* canvas, int passCode,
                    bool own);
    int HitTest(AnnoPoint p) const;
    AnnoObject NewObject(AnnoKind kind, AnnoPoint at) const;
    void Done();
    void Invalidate();
    AnnoObject* Selected();

    void* control_;
    void* window_;
    CrdeAnnoCallbacks callbacks_;
    AnnotationSettings settings_;
    std::vector<AnnoObject> objects_;
    std::optional<AnnoObject> drawing_;
    int tool_ = CRDE_ANNO_SELECT;
    int selected_ = 0;
    int nextId_ = 1;
    bool moving_ = false;
    AnnoPoint last_;
    View view_;
};

/// The layer of a control: made by Init, none before or after Destroy.
AnnotationLayer* LayerOf(void* control);
void InitLayer(void* control, void* window, const CrdeAnnoCallbacks* callbacks,
               const char* settingsFile);
void DestroyLayer(void* control);

} // namespace crde
