// SPDX-License-Identifier: MIT
#include "engines/crde2000/annotation_settings.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace crde {

namespace {

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// "r,g,b" as 0x00BBGGRR, or the fallback.
std::uint32_t Colour(const std::string& text, std::uint32_t fallback) {
    int r = 0, g = 0, b = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d ,%d ,%d %c", &r, &g, &b, &extra) != 3 || r < 0 || r > 255 ||
        g < 0 || g > 255 || b < 0 || b > 255)
        return fallback;
    return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
}

std::string ColourText(std::uint32_t c) {
    return std::to_string(c & 0xFF) + "," + std::to_string(c >> 8 & 0xFF) + "," +
           std::to_string(c >> 16 & 0xFF);
}

int Number(const std::string& text, int fallback, int low, int high) {
    int v = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d %c", &v, &extra) != 1 || v < low || v > high)
        return fallback;
    return v;
}

} // namespace

AnnotationSettings AnnotationSettings::Load(const std::string& file) {
    AnnotationSettings s;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        // Written with the defaults, so the user finds what can be set.
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "[Annotation]\n"
            << "LineColor=" << ColourText(s.lineColour) << "\n"
            << "HighlightColor=" << ColourText(s.highlightColour) << "\n"
            << "TextColor=" << ColourText(s.textColour) << "\n"
            << "LineWidth=" << s.lineWidth << "\n"
            << "FontName=" << s.fontName << "\n"
            << "FontSize=" << s.fontSize << "\n";
        return s;
    }
    std::map<std::string, std::string> values;
    std::string line, section;
    // A settings file is a few lines; a larger one is read no further than 64 KiB.
    std::size_t read = 0;
    while (read < 65536 && std::getline(in, line)) {
        read += line.size() + 1;
        line = Trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = Trim(line.substr(1, line.size() - 2));
            std::transform(section.begin(), section.end(), section.begin(), ::tolower);
            continue;
        }
        const auto eq = line.find('=');
        if (section != "annotation" || eq == std::string::npos)
            continue;
        std::string key = Trim(line.substr(0, eq));
        std::transform(key.begin(), key.end(), key.begin(), ::tolower);
        values[key] = Trim(line.substr(eq + 1));
    }
    auto get = [&](const char* key) {
        const auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    };
    s.lineColour = Colour(get("linecolor"), s.lineColour);
    s.highlightColour = Colour(get("highlightcolor"), s.highlightColour);
    s.textColour = Colour(get("textcolor"), s.textColour);
    s.lineWidth = Number(get("linewidth"), s.lineWidth, 1, 64);
    s.fontSize = Number(get("fontsize"), s.fontSize, 4, 400);
    if (const std::string font = get("fontname"); !font.empty() && font.size() < 128)
        s.fontName = font;
    return s;
}

} // namespace crde
