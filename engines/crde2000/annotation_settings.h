// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace crde {

/// How new annotations look, from the settings file (section "Annotation"). Colours are
/// 0x00BBGGRR; a missing file is written with the defaults, missing keys take them.
struct AnnotationSettings {
    std::uint32_t lineColour = 0x000000FF;      // red
    std::uint32_t highlightColour = 0x0000FFFF; // yellow
    std::uint32_t textColour = 0x00FF0000;      // blue
    int lineWidth = 3;
    std::string fontName = "DejaVu Sans";
    int fontSize = 16; // pixels

    static AnnotationSettings Load(const std::string& file);
    /// The settings a file's text gives; keys out of range or unreadable take the defaults.
    static AnnotationSettings Parse(const std::string& text);
};

} // namespace crde
