// SPDX-License-Identifier: MIT
#include "engines/crde2000/annotation_settings.h"

#include <fstream>
#include <map>
#include <sstream>

namespace crde {

namespace {

// Lower case in ASCII only: bytes above 127 stay as they are.
std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// A whole decimal number within the range, or nothing.
bool Integer(const std::string& text, int low, int high, int& out) {
    if (text.empty() || text.size() > 9)
        return false;
    int v = 0;
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (negative)
        i = 1;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    v = negative ? -v : v;
    if (v < low || v > high)
        return false;
    out = v;
    return true;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// "r,g,b" as 0x00BBGGRR, or the fallback.
std::uint32_t Colour(const std::string& text, std::uint32_t fallback) {
    const auto first = text.find(','), second = text.find(',', first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return fallback;
    int r = 0, g = 0, b = 0;
    if (!Integer(Trim(text.substr(0, first)), 0, 255, r) ||
        !Integer(Trim(text.substr(first + 1, second - first - 1)), 0, 255, g) ||
        !Integer(Trim(text.substr(second + 1)), 0, 255, b))
        return fallback;
    return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
}

std::string ColourText(std::uint32_t c) {
    return std::to_string(c & 0xFF) + "," + std::to_string(c >> 8 & 0xFF) + "," +
           std::to_string(c >> 16 & 0xFF);
}

int Number(const std::string& text, int fallback, int low, int high) {
    int v = 0;
    return Integer(text, low, high, v) ? v : fallback;
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
    // A settings file is a few lines; a larger one is read no further than 64 KiB.
    std::string text(65536, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(in.gcount()));
    return Parse(text);
}

AnnotationSettings AnnotationSettings::Parse(const std::string& text) {
    AnnotationSettings s;
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string line, section;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = Lower(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const auto eq = line.find('=');
        if (section != "annotation" || eq == std::string::npos)
            continue;
        values[Lower(Trim(line.substr(0, eq)))] = Trim(line.substr(eq + 1));
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
