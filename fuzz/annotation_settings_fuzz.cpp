// SPDX-License-Identifier: MIT
// Hostile annotation settings files: every value comes out within its range.
#include "engines/crde2000/annotation_settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const crde::AnnotationSettings s =
        crde::AnnotationSettings::Parse(std::string(reinterpret_cast<const char*>(bytes), size));
    if (s.lineWidth < 1 || s.lineWidth > 64 || s.fontSize < 4 || s.fontSize > 400 ||
        s.lineColour > 0xFFFFFF || s.highlightColour > 0xFFFFFF || s.textColour > 0xFFFFFF ||
        s.fontName.empty() || s.fontName.size() >= 128)
        std::abort();
    return 0;
}
